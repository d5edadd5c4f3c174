// Where a run keeps its continuation file and its temporary folder: beside
// the program, or, when the program's folder can't be written (a CD, a
// read-only share), in a folder named after the release under the machine's
// program data. A continuation file in either place is found again.
#pragma once

#include <string>

namespace platform {
class System;
}

namespace frame {

// The program's own name: the fallback folder of a release without a name,
// and the folder of the install log of runs with administrator rights.
constexpr char kProgramName[] = "Installer";

// Makes a folder and every missing folder above it. What can't be made is
// left for the first file written there to report.
void MakeFolder(platform::System& system, const std::string& folder);

// A release name as the name of a folder: the characters Windows does not
// allow in one become "_". The record for deployment tools names its key so
// too, so that both read alike.
std::string ReleaseFolderName(const std::string& release_name);

// The fallback folder of a release, ending in a backslash.
std::string FallbackStateFolder(platform::System& system, const std::string& release_name);

// The folder of this run, ending in a backslash: the one that holds a
// continuation file, else the program's folder when it can be written, else
// the fallback (made when missing).
std::string ChooseStateFolder(platform::System& system, const std::string& release_name);

}  // namespace frame
