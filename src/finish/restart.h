// The one place where the program asks Windows to restart the computer.
#pragma once

#include "platform/system.h"

namespace frame {
class Context;
}

namespace finish {

// Tells the run that a restart is under way, so that no page holds up the
// end of the session, and files the request. A refused request gives the
// system's reason, and the pages ask again before they close.
platform::Status RequestRestart(frame::Context& context);

// RequestRestart; a refusal is reported with "Kagge Mann" and the system's
// reason, and ends an unattended run. Returns whether Windows accepted the
// request.
bool RestartSystem(frame::Context& context);

}  // namespace finish
