// The command line of release-check, the same on Linux and on Windows:
//   release-check [--json] [--strict] FOLDER
//   release-check --update-sha256 FOLDER
//   release-check --new|--add [options] PACKAGES RELEASE
#pragma once

#include <string>
#include <vector>

#include "check/build_files.h"
#include "check/release_files.h"

namespace check {

struct CommandResult {
  int exit_code = 0;  // 0: no errors, 1: errors, 2: the folder could not be read (or bad usage)
  std::string out;    // UTF-8, lines ending in "\n"
  std::string err;
};

// `args` without the program's own name, in UTF-8.
// `build` writes the releases of --new and --add; without it they are refused.
CommandResult RunCommand(const std::vector<std::string>& args, const FolderOpener& open,
                         BuildFiles* build = nullptr);

}  // namespace check
