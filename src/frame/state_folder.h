// Where a run keeps its state (the continuation file, the failures file, the
// file that names the computer, and the temporary folder): beside the
// program when it lies on a local fixed disk that can be written; else in a
// folder named after the release under the machine's program data. A share,
// a stick or a DVD is no place for it: other machines start the same program
// there, and it may be gone at the next logon. A program file in the machine's
// folder is started elevated at the next logon, so with administrator rights
// that folder is one that only SYSTEM and the administrators may change.
#pragma once

#include <string>

namespace platform {
class System;
}

namespace frame {

class InstallLog;

// The program's own name: the fallback folder of a release without a name,
// and the folder of the install log of runs with administrator rights.
constexpr char kProgramName[] = "Installer";

// Makes a folder and every missing folder above it; with administrator
// rights each level made is one that only the administrators may change.
// What can't be made is left for the first file written there to report.
void MakeFolder(platform::System& system, const std::string& folder);

// A release name as the name of a folder: the characters Windows does not
// allow in one become "_". The record for deployment tools names its key so
// too, so that both read alike.
std::string ReleaseFolderName(const std::string& release_name);

// The program lies on a local fixed disk: its folder is this machine's alone
// and still there at the next logon.
bool ProgramOnLocalDisk(platform::System& system);

// A continuation file lies beside the program and belongs to this machine:
// on a local fixed disk always, elsewhere only when the computer file beside
// it names this computer.
bool OwnContinuationBesideProgram(platform::System& system);

// The fallback folder of a release, ending in a backslash.
std::string FallbackStateFolder(platform::System& system, const std::string& release_name);

// The folder of this run, ending in a backslash: the program's folder when
// it holds this machine's continuation file; else a folder of the release
// under the machine's program data that holds one; else the program's
// folder on a local fixed disk that can be written; else the release's
// folder under the machine's program data, made, or taken over from another
// owner, or a fresh one beside it ("Pack (2)"). The log says what was found
// and what was done.
std::string ChooseStateFolder(platform::System& system, InstallLog& log,
                              const std::string& release_name);

}  // namespace frame
