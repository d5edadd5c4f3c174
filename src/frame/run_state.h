// The state of one installation run, from its start to the program's end,
// and the exit code that follows from it. Pages and the engine report what
// happened through the named transitions below; nobody sets a flag, so the
// exit code can't disagree with what the run went through.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frame/continuation.h"
#include "ui/event.h"

namespace frame {

// Windows Installer's exit codes, which deployment tools understand.
constexpr int kExitSuccess = 0;
constexpr int kExitUserCancelled = 1602;         // ERROR_INSTALL_USEREXIT
constexpr int kExitFailure = 1603;               // ERROR_INSTALL_FAILURE
constexpr int kExitRestartStarted = 1641;        // ERROR_SUCCESS_REBOOT_INITIATED
constexpr int kExitRestartNeeded = 3010;         // ERROR_SUCCESS_REBOOT_REQUIRED
constexpr int kExitAnotherInstallerRuns = 1618;  // ERROR_INSTALL_ALREADY_RUNNING

class RunState {
 public:
  // --- Transitions ------------------------------------------------------

  // Another installer holds the lock: the run waits for it, and ends with
  // 1618 unless it stops waiting (the lock taken, or the user gave up).
  void AnotherInstallerRuns();
  void NoLongerWaiting();
  // The installation page takes over; a cancel of the wait for another
  // installer before it cancels nothing of the run.
  void Started();
  // The packages that run are known: `chosen` of them, once `left_out` were
  // found installed. Returns the package total of the whole run, which a
  // continued run took from its file, less what it leaves out now.
  int Counted(int chosen, int left_out);
  // The run goes on after a restart with the total of the whole run and
  // what its first half went through.
  void Continued(int run_total, RunSoFar so_far);
  void PackageFailed(PackageFailure failure);
  // The package's update does not apply to this system: no failure.
  void PackageNotApplicable(std::string name);
  // Windows already waited for a restart when the installation began, and
  // the run restarts the computer for it before its first package.
  void RestartsForPendingRestart();
  // A package's installer ran and its update applied to the system: the
  // run changed the system.
  void PackageInstalled();
  // A package of the run was found installed already by its installer;
  // those that their detection rules leave out count with Counted.
  void PackageFoundInstalled();
  // A package asked for a restart of the computer (by its Restart value or
  // its exit code) before the run may go on.
  void RestartAsked();
  // A package has begun the restart of the computer itself.
  void PackageStartedRestart();
  // The rest of the run is saved for the continuation after a restart
  // (continuation file and run-once value), or could not be.
  void HandOverSaved();
  void HandOverFailed(std::string reason);
  // The program asks Windows for the restart; Windows accepts or refuses
  // the request.
  void RestartRequested();
  void RestartAccepted();
  void RestartRefused();
  // The session is about to end and the run agreed to it.
  void SessionEnding();
  // The session ends while a package runs and the rest of the run could not
  // be saved: it is lost, unless another program vetoes the end.
  void RunLost();
  // The run was saved for the end of the session while a package ran; a veto
  // of that end takes it back, since the package runs on.
  void SavedForSessionEnd();
  // The package of list row `row` is about to start: its attempt counts.
  void AttemptStarting(int row);
  // It ended by itself: no interruption to count.
  void AttemptEnded(int row);
  // Another program vetoed the end of the session: no restart happens now.
  void SessionEndCancelled();
  // The user confirmed the cancel question. Returns false when it came too
  // late: the run had already ended, and nothing is cancelled.
  bool CancelConfirmed();
  // The last step: the finish page takes over.
  void Ended();
  // The rest of the run can't go on, and is given up for good (`reason`): its
  // release folder stayed away. It counts as a run that failed.
  void GivenUp(std::string reason);

  // --- What the run is ---------------------------------------------------

  int RunTotal() const { return run_total_; }
  // A continuation file started this run: it is kept in step until the end.
  bool Continued() const { return continued_; }
  bool Cancelled() const { return cancelled_; }
  // The installation began: packages were (or are being) installed.
  bool HasStarted() const { return started_; }
  bool HasEnded() const { return ended_; }
  // Pages close without asking: a restart or the end of the session is under
  // way, and nothing may hold it up.
  bool Restarting() const { return requested_ || session_ending_ || (restart_started_ && Saved()); }
  // The continuation is in place and waits for the next restart of the
  // computer, which did not happen in this run.
  bool WaitsForRestart() const { return Saved() && !restart_started_; }
  // The rest of the run is safe on disk, so the session may end at any time.
  bool Saved() const { return saved_ || saved_for_session_end_; }
  const std::vector<PackageFailure>& Failures() const { return failures_; }
  // Packages of this program's run found installed already; they count as
  // neither installed nor failed.
  int FoundInstalled() const { return found_installed_; }
  // How often each package was started, this start's attempt included.
  const Attempts& AttemptsByPackage() const { return attempts_; }
  int AttemptsOf(int row) const;
  // Where both halves of the run keep its record: nothing before a
  // continuation decided it.
  const std::optional<bool>& RecordMachineWide() const { return record_machine_wide_; }
  const std::vector<std::string>& NotApplicable() const { return not_applicable_; }
  // Once per run: a restart that Windows still waits for after it is no
  // reason for another one.
  bool RestartedForPendingRestart() const { return restarted_for_pending_restart_; }
  // Why the hand-over to a restart failed; empty when it did not.
  const std::string& HandOverFailure() const { return hand_over_failure_; }
  // Nothing was installed: no package ran whose update applied (all found
  // installed, none chosen, none that applies). Such a run needs no restart;
  // a continued run's first half installed something.
  bool NothingInstalled() const { return !continued_ && !installed_; }
  // Why the run was given up; empty when it was not.
  const std::string& GiveUpReason() const { return given_up_; }

  // 1618 while the run waits for another installer; else 1603 a package
  // failed, or the hand-over could not be saved, or the session ends with
  // the rest of the run lost, or the run was given up; else 1602 the
  // user cancelled; else 1641 a restart was started and nobody vetoed it;
  // else 3010 a restart is needed and did not happen; else 0.
  int ExitCode() const;

  // A restart was accepted, the program's or a package's: the session should
  // end soon.
  ui::Event<> OnRestartStarted;

 private:
  int run_total_ = 0;
  bool continued_ = false;
  std::vector<PackageFailure> failures_;
  int found_installed_ = 0;
  Attempts attempts_;
  std::optional<bool> record_machine_wide_;
  std::vector<std::string> not_applicable_;
  bool restarted_for_pending_restart_ = false;
  std::string hand_over_failure_;
  std::string given_up_;
  bool installed_ = false;
  bool restart_needed_ = false;
  bool restart_started_ = false;
  bool requested_ = false;
  bool session_ending_ = false;
  bool lost_ = false;
  bool saved_ = false;
  bool saved_for_session_end_ = false;
  bool cancelled_ = false;
  bool waits_for_lock_ = false;
  bool started_ = false;
  bool ended_ = false;
};

}  // namespace frame
