#include "finish/restart.h"

#include "frame/context.h"
#include "platform/system.h"

namespace finish {

bool RequestRestart(frame::Context& context, std::string& reason) {
  frame::RunState& run = context.Run();
  run.RestartRequested();
  context.Log().Write("Neustart des Computers angefordert");
  if (context.System().RequestRestart(reason)) {
    run.RestartAccepted();
    return true;
  }
  // Nothing ends now: the pages ask again before they close.
  run.RestartRefused();
  return false;
}

// An unattended run has nobody to read the message: it ends instead.
bool RestartSystem(frame::Context& context) {
  std::string reason;
  if (RequestRestart(context, reason)) return true;
  const std::string text = reason.empty() ? "Kagge Mann" : "Kagge Mann\n" + reason;
  context.ShowMessageDialog(text, frame::MessageKind::Error);
  context.EndIfUnattended(context.Words[95] + (reason.empty() ? "" : ": " + reason));
  return false;
}

}  // namespace finish
