// The run-once value that starts the program again at the next logon, so
// that a run interrupted by a restart, a kill or a power cut goes on.
#pragma once

namespace frame {

class Context;

// A program started elevated on a system with user account control goes on
// only from the machine's run-once key. The line written is logged.
bool WriteRunOnce(const Context& context);

}  // namespace frame
