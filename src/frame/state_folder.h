// Where a run keeps its state (the continuation file, the failures file, the
// file that names the computer, and the temporary folder): beside the
// program when it lies on a local fixed disk that can be written; else in a
// folder named after the release in the program's own folder under the
// machine's program data (frame/own_folder.h). A share, a stick or a DVD is
// no place for it: other machines start the same program there, and it may
// be gone at the next logon. A program file in the machine's folder is
// started elevated at the next logon, so with administrator rights that
// folder is one that only SYSTEM and the administrators may change.
#pragma once

#include <string>

namespace platform {
class System;
}

namespace frame {

class InstallLog;
class OwnFolder;

// The program's own name: the folder of a release without a name.
constexpr char kProgramName[] = "Installer";

// A release name as the name of a folder: the characters Windows does not
// allow in one become "_", and so does "%", which the Task Scheduler would
// take for a variable in the path of the program it starts. The record for
// deployment tools names its key so too, so that both read alike.
std::string ReleaseFolderName(const std::string& release_name);

// The program lies on a local fixed disk: its folder is this machine's alone
// and still there at the next logon.
bool ProgramOnLocalDisk(platform::System& system);

// A continuation file lies beside the program and belongs to this machine:
// on a local fixed disk always, elsewhere only when the computer file beside
// it names this computer.
bool OwnContinuationBesideProgram(platform::System& system);

// The folder of this run, ending in a backslash: the program's folder when
// it holds this machine's continuation file; else a folder of the release in
// the program's own folder that holds one; else the program's folder on a
// local fixed disk that can be written; else the release's folder in the
// program's own folder, made, or a fresh one beside it ("Pack (2)") where
// something else stands; else, when no such folder can be had, the user's
// temporary folder. The log says what was found and what was done.
std::string ChooseStateFolder(platform::System& system, InstallLog& log, OwnFolder& own,
                              const std::string& release_name);

}  // namespace frame
