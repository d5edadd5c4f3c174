// The command line of release-check, the same on Linux and on Windows:
//   release-check [--json] [--strict] FOLDER
//   release-check --update-sha256 FOLDER
#pragma once

#include <string>
#include <vector>

#include "check/release_files.h"

namespace check {

struct CommandResult {
  int exit_code = 0;  // 0: no errors, 1: errors, 2: the folder could not be read (or bad usage)
  std::string out;    // UTF-8, lines ending in "\n"
  std::string err;
};

// `args` without the program's own name, in UTF-8.
CommandResult RunCommand(const std::vector<std::string>& args, const FolderOpener& open);

}  // namespace check
