#include "finish/restart.h"

#include "frame/context.h"
#include "platform/system.h"

namespace finish {

bool RestartSystem(frame::Context& context) {
  context.Restarting = true;
  std::string reason;
  if (context.System().RequestRestart(reason)) return true;
  context.ShowMessageDialog(reason.empty() ? "Kagge Mann" : "Kagge Mann\n" + reason,
                            frame::MessageKind::Error);
  return false;
}

}  // namespace finish
