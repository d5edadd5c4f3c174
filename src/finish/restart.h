// The one place where the program asks Windows to restart the computer.
#pragma once

#include <string>

namespace frame {
class Context;
}

namespace finish {

// Sets Restarting, so that no page holds up the end of the session, and
// files the request. A refused request clears Restarting again and gives
// the system's reason.
bool RequestRestart(frame::Context& context, std::string& reason);

// RequestRestart; a refusal is reported with "Kagge Mann" and the system's
// reason. Returns whether Windows accepted the request.
bool RestartSystem(frame::Context& context);

}  // namespace finish
