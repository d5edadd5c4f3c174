#include "frame/run_state.h"

namespace frame {

void RunState::AnotherInstallerRuns() {
  waits_for_lock_ = true;
}

void RunState::NoLongerWaiting() {
  waits_for_lock_ = false;
}

int RunState::Started(int chosen) {
  started_ = true;
  cancelled_ = false;
  if (run_total_ == 0) run_total_ = chosen;
  return run_total_;
}

void RunState::Continued(int run_total, std::vector<PackageFailure> failures) {
  continued_ = true;
  run_total_ = run_total;
  failures_ = std::move(failures);
}

void RunState::PackageFailed(PackageFailure failure) {
  failures_.push_back(std::move(failure));
}

void RunState::RestartAsked() {
  restart_needed_ = true;
}

// The package's restart stands for the one it needs: should it not happen,
// the run still waits for a restart.
void RunState::PackageStartedRestart() {
  restart_needed_ = true;
  restart_started_ = true;
  OnRestartStarted.Raise();
}

void RunState::HandOverSaved() {
  saved_ = true;
}

void RunState::HandOverFailed(std::string reason) {
  hand_over_failure_ = std::move(reason);
}

void RunState::RestartRequested() {
  requested_ = true;
}

void RunState::RestartAccepted() {
  restart_started_ = true;
  OnRestartStarted.Raise();
}

void RunState::RestartRefused() {
  requested_ = false;
}

void RunState::SessionEnding() {
  session_ending_ = true;
}

void RunState::RunLost() {
  lost_ = true;
}

void RunState::SessionEndCancelled() {
  requested_ = false;
  session_ending_ = false;
  lost_ = false;
  restart_started_ = false;
}

bool RunState::CancelConfirmed() {
  if (ended_) return false;
  cancelled_ = true;
  return true;
}

void RunState::Ended() {
  ended_ = true;
}

int RunState::ExitCode() const {
  if (waits_for_lock_) return kExitAnotherInstallerRuns;
  if (!failures_.empty() || !hand_over_failure_.empty() || lost_) return kExitFailure;
  if (cancelled_) return kExitUserCancelled;
  if (restart_started_) return kExitRestartStarted;
  if (restart_needed_ || saved_) return kExitRestartNeeded;
  return kExitSuccess;
}

}  // namespace frame
