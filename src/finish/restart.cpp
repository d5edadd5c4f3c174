#include "finish/restart.h"

#include "frame/context.h"
#include "platform/system.h"

namespace finish {

bool RequestRestart(frame::Context& context, std::string& reason) {
  context.Restarting = true;
  context.Log().Write("Neustart des Computers angefordert");
  if (context.System().RequestRestart(reason)) {
    context.RestartStarted = true;
    return true;
  }
  // Nothing ends now: the pages ask again before they close.
  context.Restarting = false;
  return false;
}

bool RestartSystem(frame::Context& context) {
  std::string reason;
  if (RequestRestart(context, reason)) return true;
  context.ShowMessageDialog(reason.empty() ? "Kagge Mann" : "Kagge Mann\n" + reason,
                            frame::MessageKind::Error);
  return false;
}

}  // namespace finish
