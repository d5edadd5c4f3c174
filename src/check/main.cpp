// release-check on Linux. The Windows program is src/win32/check/release_check_main.cpp.
#include <iostream>

#include "check/command.h"
#include "check/native_files.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  check::NativeBuildFiles build;
  const check::CommandResult result = check::RunCommand(args, check::OpenNativeFolder, &build);
  std::cout << result.out << std::flush;
  std::cerr << result.err << std::flush;
  return result.exit_code;
}
