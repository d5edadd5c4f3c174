#include "finish/restart.h"

#include "app/main_form.h"
#include "platform/system.h"

namespace finish {

bool RestartSystem(app::TFMain& main) {
  main.Restarting = true;
  std::string reason;
  if (main.System().RequestRestart(reason)) return true;
  main.ShowMessageDialog(reason.empty() ? "Kagge Mann" : "Kagge Mann\n" + reason,
                         app::MessageKind::Error);
  return false;
}

}  // namespace finish
