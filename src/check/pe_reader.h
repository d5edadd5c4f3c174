// A Windows program (PE file): its version resource, and the kind of
// installer it is by the marks the common installer frameworks leave in it.
#pragma once

#include <map>
#include <string>

#include "release/byte_source.h"

namespace check {

// The installer frameworks this reader tells apart, each with the switches
// its makers document for a run without windows or a restart.
enum class InstallerKind {
  Unknown,
  WixBurn,    // a ".wixburn" section: /quiet /norestart
  Nsis,       // "NullsoftInst" after the program: /S
  InnoSetup,  // the loader's offset table (RCDATA 11111) or "Inno Setup" in its data: /VERYSILENT
              // ...
  InstallShield,  // "InstallShield" in its version strings or data: /s /v"/qn /norestart"
  SevenZipSfx,    // a 7z archive, or its installer's configuration, after the program: -y
  IExpress,       // Windows' self-extractor (WEXTRACT, RCDATA RUNPROGRAM): /Q /R:N
  WindowsUpdate,  // Windows' self-extracting update packages (sfxcab, update.exe): /quiet
                  // /norestart
};

const char* KindName(InstallerKind kind);
const char* SilentSwitches(InstallerKind kind);

struct ProgramFacts {
  bool x64 = false;
  std::map<std::string, std::string> strings;  // of the version resource's first string table
  std::string version;                         // "1.2.3.4" from its fixed part; empty without one
  InstallerKind kind = InstallerKind::Unknown;
  std::string mark;  // what told the kind
  std::string note;  // why there are no version strings, when there are none
};

// Throws UnreadablePackage when the file is no PE program or its headers are damaged.
ProgramFacts ReadProgram(release::ByteSource& source);

}  // namespace check
