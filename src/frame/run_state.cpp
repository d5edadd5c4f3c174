#include "frame/run_state.h"

namespace frame {

void RunState::AnotherInstallerRuns() {
  waits_for_lock_ = true;
}

void RunState::NoLongerWaiting() {
  waits_for_lock_ = false;
}

void RunState::Started() {
  started_ = true;
  cancelled_ = false;
}

// Those left out count as found installed at once: the file that carries the
// run over a restart names only what is still to run.
int RunState::Counted(int chosen, int left_out) {
  run_total_ = continued_ ? run_total_ - left_out : chosen;
  found_installed_ += left_out;
  return run_total_;
}

void RunState::Continued(int run_total, RunSoFar so_far) {
  continued_ = true;
  run_total_ = run_total;
  failures_ = std::move(so_far.failures);
  attempts_ = std::move(so_far.attempts);
  found_installed_ = so_far.found_installed;
  record_machine_wide_ = so_far.record_machine_wide;
  not_applicable_ = std::move(so_far.not_applicable);
  restarted_for_pending_restart_ = so_far.restarted_for_pending_restart;
}

void RunState::PackageFailed(PackageFailure failure) {
  failures_.push_back(std::move(failure));
}

void RunState::PackageNotApplicable(std::string name) {
  not_applicable_.push_back(std::move(name));
}

void RunState::RestartsForPendingRestart() {
  restarted_for_pending_restart_ = true;
}

void RunState::PackageInstalled() {
  installed_ = true;
}

void RunState::PackageFoundInstalled() {
  ++found_installed_;
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

void RunState::SavedForSessionEnd() {
  saved_for_session_end_ = true;
}

void RunState::RunLost() {
  lost_ = true;
}

void RunState::AttemptStarting(int row) {
  ++attempts_[row];
}

void RunState::AttemptEnded(int row) {
  attempts_.erase(row);
}

int RunState::AttemptsOf(int row) const {
  const auto it = attempts_.find(row);
  return it == attempts_.end() ? 0 : it->second;
}

void RunState::SessionEndCancelled() {
  requested_ = false;
  session_ending_ = false;
  lost_ = false;
  saved_for_session_end_ = false;
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

void RunState::GivenUp(std::string reason) {
  started_ = true;
  given_up_ = std::move(reason);
}

int RunState::ExitCode() const {
  if (waits_for_lock_) return kExitAnotherInstallerRuns;
  if (!failures_.empty() || !hand_over_failure_.empty() || !given_up_.empty() || lost_) {
    return kExitFailure;
  }
  if (cancelled_) return kExitUserCancelled;
  if (restart_started_) return kExitRestartStarted;
  if (restart_needed_ || Saved()) return kExitRestartNeeded;
  return kExitSuccess;
}

}  // namespace frame
