#include "frame/install_lock.h"

#include <utility>

#include "frame/install_log.h"
#include "frame/run_state.h"
#include "platform/system.h"

namespace frame {

InstallLock::InstallLock(ui::Form& owner, platform::System& system, InstallLog& log, RunState& run)
    : TLock(owner, "TLock", kPollMs), system_(system), log_(log), run_(run) {
  TLock.OnTimer.Bind(this, &InstallLock::TLockTimer);
}

bool InstallLock::Take() {
  held_ = held_ || system_.AcquireInstallLock(0);
  return held_;
}

void InstallLock::Wait(std::function<bool()> gives_up, std::function<void(bool taken)> done) {
  log_.Write("Ein anderes Installationsprogramm läuft; warte, bis es beendet ist");
  run_.AnotherInstallerRuns();
  gives_up_ = std::move(gives_up);
  done_ = std::move(done);
  waited_ms_ = 0;
  TLock.SetEnabled(true);
}

// Giving up comes first: a user who cancelled the wait does not want the
// run to start after all.
void InstallLock::TLockTimer() {
  waited_ms_ += static_cast<int>(TLock.Interval());
  const bool gave_up = gives_up_();
  if (!gave_up && !Take()) return;
  TLock.SetEnabled(false);
  if (!gave_up) run_.NoLongerWaiting();
  const std::function<void(bool)> done = std::move(done_);
  done(!gave_up);
}

}  // namespace frame
