#include "frame/unseen_run.h"

#include "platform/system.h"

namespace frame {

bool NobodySeesTheScreen(platform::System& system, release::OsIndex os) {
  if (!system.DesktopVisible()) return true;
  return release::IsVistaOrLater(os) && system.SessionId() == 0;
}

}  // namespace frame
