// The one place where the program asks Windows to restart the computer.
#pragma once

#include <string>

namespace frame {
class Context;
}

namespace finish {

// Tells the run that a restart is under way, so that no page holds up the
// end of the session, and files the request. A refused request gives the
// system's reason, and the pages ask again before they close.
bool RequestRestart(frame::Context& context, std::string& reason);

// RequestRestart; a refusal is reported with "Kagge Mann" and the system's
// reason, and ends an unattended run. Returns whether Windows accepted the
// request.
bool RestartSystem(frame::Context& context);

}  // namespace finish
