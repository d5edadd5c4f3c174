// The one place where the program asks Windows to restart the computer.
#pragma once

namespace frame {
class Context;
}

namespace finish {

// Sets Restarting, so that no page holds up the end of the session, and
// files the request; a refusal is reported with "Kagge Mann" and the
// system's reason. Returns whether Windows accepted the request.
bool RestartSystem(frame::Context& context);

}  // namespace finish
