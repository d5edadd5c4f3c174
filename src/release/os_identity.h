// Which Windows the program runs on, as a small index in order of release.
#pragma once

#include <string>

#include "platform/system.h"

namespace release {

// 0 Windows 95, 1 Windows 98, 2 Windows 98 SE, 3 Windows ME, 4 Windows NT 4.0,
// 5 Windows 2000, 6 Windows XP, 7 Windows Server 2003, 8 Windows Vista,
// 9 Windows 7, -1 any other system.
int IdentifyOS(const platform::OsVersion& version);

// The program's name of a system index: "Microsoft Windows XP", ..., "unbekannt".
std::string OsName(int index);

}  // namespace release
