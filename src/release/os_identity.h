// Which Windows the program runs on, as a small index in order of release,
// and the rules that the index selects.
#pragma once

#include <string>

#include "platform/system.h"

namespace release {

// In order of release, so that a later system has a greater index; Unknown
// is below every system and so takes no rule of a later one.
enum class OsIndex : int {
  Unknown = -1,
  Windows95 = 0,
  Windows98 = 1,
  Windows98SE = 2,
  WindowsME = 3,
  WindowsNT4 = 4,
  Windows2000 = 5,
  WindowsXP = 6,
  WindowsServer2003 = 7,
  WindowsVista = 8,
  Windows7 = 9,
  Windows8 = 10,
  Windows81 = 11,
  Windows10 = 12,  // 10.0 (Windows 10 and 11) and every later NT version
};

OsIndex IdentifyOS(const platform::OsVersion& version);

// The program's name of a system: "Microsoft Windows XP", ..., "unbekannt".
std::string OsName(OsIndex index);

// The name of the system for the log: OsName of its index, but a system after
// Windows 10, which takes the index of Windows 10, with its version number
// ("Microsoft Windows 10.1").
std::string SystemName(const platform::OsVersion& version);

// Windows XP and later show the program's own icon in the notification area.
bool IsXpOrLater(OsIndex index);
// Windows Vista and later: .msu packages run through wusa.exe, and a program
// started elevated goes on after a restart only from the machine's run-once
// key, since user account control exists.
bool IsVistaOrLater(OsIndex index);

}  // namespace release
