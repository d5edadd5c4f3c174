// The run-once value that starts the program again at the next logon, so
// that a run interrupted by a restart, a kill or a power cut goes on.
#pragma once

#include <string>

namespace frame {

class Context;

// The program that goes on with the run and the switches it carries, for
// whatever starts it again.
struct ContinuationCommand {
  std::string program;
  std::string switches;  // " /norestart ... \"/continuation:...\""
};
ContinuationCommand CommandToContinue(const Context& context);

// A program started elevated on a system with user account control goes on
// only from the machine's run-once key; so does one that runs as LocalSystem,
// whose own key no logon reads. The line written is logged.
bool WriteRunOnce(const Context& context);

}  // namespace frame
