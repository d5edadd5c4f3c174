#include "finish/restart.h"

#include "frame/context.h"
#include "platform/system.h"

namespace finish {

platform::Status RequestRestart(frame::Context& context) {
  frame::RunState& run = context.Run();
  run.RestartRequested();
  context.Log().Write("Neustart des Computers angefordert");
  platform::Status restart = context.System().RequestRestart();
  if (restart.ok) {
    run.RestartAccepted();
  } else {
    run.RestartRefused();  // nothing ends now: the pages ask again before they close
  }
  return restart;
}

// An unattended run has nobody to read the message: it ends instead.
bool RestartSystem(frame::Context& context) {
  const platform::Status restart = RequestRestart(context);
  if (restart.ok) return true;
  const std::string& reason = restart.reason;
  const std::string text = reason.empty() ? "Kagge Mann" : "Kagge Mann\n" + reason;
  context.ShowMessageDialog(text, frame::MessageKind::Error);
  context.EndIfUnattended(context.Words[release::kWordRestartFailed] +
                          (reason.empty() ? "" : ": " + reason));
  return false;
}

}  // namespace finish
