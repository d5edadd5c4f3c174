// The one place where the program asks Windows to restart the computer.
#pragma once

namespace app {
class TFMain;
}

namespace finish {

// Sets Restarting, so that no page holds up the end of the session, and
// files the request; a refusal is reported with "Kagge Mann" and the
// system's reason. Returns whether Windows accepted the request.
bool RestartSystem(app::TFMain& main);

}  // namespace finish
