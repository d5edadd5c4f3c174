#include "engine/exit_codes.h"

namespace engine {

PackageState ClassifyExitCode(std::uint32_t code) {
  switch (code) {
    case kSuccess:
      return PackageState::Installed;
    case kSuccessRebootRequired:
    case kSuccessRestartRequired:
    case kWusaRebootRequired:
    case kWusaRebootRequiredResult:
      return PackageState::RestartNeeded;
    case kSuccessRebootInitiated:
      return PackageState::RestartStarted;
    case kWusaAlreadyInstalled:
      return PackageState::AlreadyInstalled;
    case kWusaNotApplicable:
      return PackageState::NotApplicable;
    default:
      return PackageState::Failed;
  }
}

}  // namespace engine
