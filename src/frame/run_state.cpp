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

int RunState::Counted(int chosen, int left_out) {
  run_total_ = continued_ ? run_total_ - left_out : chosen;
  return run_total_;
}

void RunState::Continued(int run_total, RunSoFar so_far) {
  continued_ = true;
  run_total_ = run_total;
  failures_ = std::move(so_far.failures);
  session_ends_ = std::move(so_far.session_ends);
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

bool RunState::SessionEndingDuringPackage(int row, PackageFailure failure) {
  session_ending_ = true;
  PackageSessionEnd& end = package_session_end_.emplace(PackageSessionEnd{row, std::nullopt});
  if (++session_ends_[row] < 2) return false;
  end.failure = failures_.size();
  failures_.push_back(std::move(failure));
  return true;
}

void RunState::SessionEndCancelled() {
  requested_ = false;
  session_ending_ = false;
  lost_ = false;
  saved_for_session_end_ = false;
  restart_started_ = false;
  TakeBackPackageSessionEnd();
}

// The package runs on: the session did not end during it.
void RunState::TakeBackPackageSessionEnd() {
  if (!package_session_end_) return;
  const auto [row, failure] = *package_session_end_;
  package_session_end_.reset();
  if (--session_ends_[row] == 0) session_ends_.erase(row);
  if (failure) failures_.erase(failures_.begin() + static_cast<std::ptrdiff_t>(*failure));
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
