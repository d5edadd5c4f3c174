// One installer at a time on the machine (System::AcquireInstallLock). A
// mutex belongs to the thread that took it, so the lock is only ever asked
// for on the main thread; a wait asks again at each tick of a timer of the
// hidden main form instead of blocking, so that the windows keep painting
// and the end of the session is answered meanwhile.
#pragma once

#include <functional>

#include "ui/form.h"
#include "ui/timer.h"

namespace platform {
class System;
}

namespace frame {

class InstallLog;
class RunState;

class InstallLock {
 public:
  // How often a wait asks for the lock again.
  static constexpr unsigned kPollMs = 500;

  InstallLock(ui::Form& owner, platform::System& system, InstallLog& log, RunState& run);

  // True when the program holds the lock, taken now if it is free.
  bool Take();
  // Logs that another installer runs, then asks for the lock at each tick
  // until it is taken or `gives_up` says so; `done` learns which.
  void Wait(std::function<bool()> gives_up, std::function<void(bool taken)> done);
  bool Waiting() const { return TLock.Enabled(); }
  // How long the wait under way has lasted.
  int WaitedMs() const { return waited_ms_; }

  ui::Timer TLock;

 private:
  void TLockTimer();

  platform::System& system_;
  InstallLog& log_;
  RunState& run_;
  bool held_ = false;
  int waited_ms_ = 0;
  std::function<bool()> gives_up_;
  std::function<void(bool)> done_;
};

}  // namespace frame
