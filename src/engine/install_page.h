// The page the user sees while the packages install, and the installation
// sequence it hosts: one step per package, the next step when the package's
// worker has ended.
#pragma once

#include "engine/package_cache.h"
#include "engine/package_command.h"
#include "engine/package_runner.h"
#include "frame/page_frame.h"
#include "ui/group_box.h"
#include "ui/progress_bar.h"
#include "ui/timer.h"

namespace engine {

class TFKopieren : public frame::PageFrame {
 public:
  explicit TFKopieren(frame::Context& context);

  // clang-format off
  ui::Image Image1{*this, "Image1", {16, 88, 437, 60}, ui::kAutoSize};
  ui::GroupBox GBStatus{*this, "GBStatus", {16, 172, 437, 93}, " Status "};
  ui::Label LCVorgang{GBStatus, "LCVorgang", {16, 24, 92, 13}, "Aktueller Vorgang:",
                      ui::kAutoSize};
  ui::Label LCDatei{GBStatus, "LCDatei", {16, 44, 74, 13}, "Aktuelle Datei:", ui::kAutoSize};
  ui::Label LKopierStatus{GBStatus, "LKopierStatus", {116, 24, 110, 13}, "Warte auf Benutzer...",
                          ui::kAutoSize};
  ui::Label LKopierDatei{GBStatus, "LKopierDatei", {116, 44, 305, 37}, "Warte auf Benutzer...",
                         ui::kWordWrap};
  ui::GroupBox GBFortschritt{*this, "GBFortschritt", {16, 292, 437, 61}, " Fortschritt "};
  ui::ProgressBar ProgressBar{GBFortschritt, "ProgressBar", {16, 29, 405, 16}};
  ui::Button BHintergrund{Panel1, "BHintergrund", {4, 5, 75, 25}, "Hintergrund"};
  ui::Timer TQuelle{*this, "TQuelle", 1000};
  // clang-format on

  // The state of the run.
  int CurrentIndex = 1;
  int TotalCount = 0;
  int CurrentNumber = 0;

  // Starts the run; returns once the first package runs or the run is over.
  void StartInstallation();
  // Takes the place of `current`, starts the run and hides `current`.
  void StartInstallationFrom(frame::PageFrame& current);
  // The silent run and the continuation, with no page before.
  void StartInstallationOnItsOwn();
  void SendToTray();
  void RestoreFromTray();

  // A package's installer runs now.
  bool Running() const { return running_; }
  // The session ends while a package runs (the package restarts the
  // computer, the user logs off): the continuation, written before the
  // package started, names it and the rest, so the run goes on after the
  // next logon.
  void SaveForSessionEnd();
  // Another program refused the end of the session; true when it was the
  // restart that the hand-over (or a package) began, which this page then
  // takes back.
  bool SessionEndCancelled();
  // The run is over: its continuation state goes.
  void EndContinuation();

 private:
  void FormCreate();
  void FormCloseQuery(bool& can_close);
  void FormClose(ui::CloseAction& action);
  void BAbbrechenClick();
  void BHintergrundClick();

  // The sequence.
  void InstallChosen();
  void InstallNext();
  void PassOverInstalled();
  void PackageFinished(PackageOutcome outcome);
  void RecordOutcome(const PackageOutcome& outcome);
  std::string NotStartedReason(const PackageOutcome& outcome) const;
  void AwaitStartedRestart();
  void DeletePreviousLog();
  bool RestartDue() const;
  bool RestartFirstForPending();
  std::string WhyNoRestartFirst() const;
  void HandOverToRestart();
  bool KeepRunForRestart();
  void RestartRefused(const std::string& reason);
  void LeaveRestartToTheAdministrator();
  // The continuation file and the run-once value, or a clear message and
  // neither of them.
  bool SaveContinuation();
  // Before the current package starts: the run on disk with the package
  // still to run and its attempt counted, and what starts it again
  // registered, so that an interruption of any kind goes on with it.
  void WriteAhead();
  // The current package was interrupted twice before: it counts as failed
  // and does not start a third time; true then.
  bool FailInterruptedTwice();
  bool WriteContinuationFile(int from);
  LoggedParameters WithPackageLog(int number) const;
  void StartPackage(const std::string& path);
  // The package's copy, and the next chosen package's, made while it runs.
  PackageCopies CopiesFor(int number);
  int NextChosen(int number) const;
  // The copy of a package that ended is removed, unless the restart it asks
  // for may need its files; the log says where it ran from.
  void EndCopy(const PackageOutcome& outcome);
  // The copy stopped because the release's folder is away: true while the
  // run waits for it, up to ten minutes; the package is tried again when it
  // is back.
  bool WaitForSource(PackageOutcome& outcome);
  void TQuelleTimer();
  void LogNotApplicable();
  void ShowProgress(const std::string& path);
  void ShowTaskbarProgress();
  void ShowFinishPage();
  ui::Rect ScreenBounds() const;
  ui::Rect TrayRect() const;

  // The package whose installer ran last in this run asked for a restart,
  // or, before the first package, Windows waited for one.
  bool restart_asked_ = false;
  bool running_ = false;
  // What starts the continuation was registered (or tried) for this
  // program's run, and the record says that the run is under way.
  bool start_registered_ = false;
  bool record_written_ = false;
  // The hand-over's restart request was accepted; the session should end.
  bool awaiting_restart_ = false;
  PackageCache cache_;
  unsigned waited_ms_ = 0;  // for the release's folder, for this package
  // A wait ran out in this run: the folder is gone, no later package waits.
  bool source_gone_ = false;
};

}  // namespace engine
