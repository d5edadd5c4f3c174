// Whether anybody can see the program's windows. A deployment agent that
// runs as LocalSystem, or the task of the system start, runs the program
// where no user looks: a wizard there would wait for ever for a click, and
// the agent for the program's end.
#pragma once

#include "release/os_identity.h"

namespace platform {
class System;
}

namespace frame {

// True on a window station without a display, and from Windows Vista on in
// session 0, which belongs to the services.
bool NobodySeesTheScreen(platform::System& system, release::OsIndex os);

}  // namespace frame
