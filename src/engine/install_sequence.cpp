// The installation sequence of the installation page: one step per package,
// driven by the end of each package's worker.
#include <cmath>

#include "engine/install_page.h"
#include "engine/lock_wait.h"
#include "engine/package_command.h"
#include "engine/package_runner.h"
#include "engine/pending_restart.h"
#include "engine/size_text.h"
#include "finish/finish_page.h"
#include "finish/restart.h"
#include "finish/restart_prompt.h"
#include "frame/continuation.h"
#include "frame/continuation_start.h"
#include "frame/install_log.h"
#include "frame/local_starter.h"
#include "frame/run_once.h"
#include "frame/run_record.h"
#include "platform/system.h"
#include "tray/tray_icon.h"
#include "ui/application.h"

namespace engine {

namespace {

// Halves go to the even neighbour.
int RoundHalfEven(double value) {
  return static_cast<int>(std::nearbyint(value));
}

// How the log names what became of a package; `reason` says why it was not started.
std::string OutcomeText(const PackageOutcome& outcome, const std::string& reason) {
  const std::string code = ", Exitcode " + frame::ExitCodeText(outcome.exit_code);
  switch (outcome.state) {
    case PackageState::Installed:
      return "installiert" + code;
    case PackageState::RestartNeeded:
      return "installiert, Neustart nötig" + code;
    case PackageState::RestartStarted:
      return "installiert, das Paket startet den Computer neu" + code;
    case PackageState::AlreadyInstalled:
      return outcome.started ? "bereits installiert" + code : "bereits installiert";
    case PackageState::NotApplicable:
      return "nicht zutreffend" + code;
    case PackageState::Failed:
      return "fehlgeschlagen" + code;
    case PackageState::NotStarted:
      break;
  }
  return "nicht gestartet: " + reason;
}

// Both checksums of a damaged file, for the administrator who looks for the
// intact copy.
std::string ChecksumText(const std::string& found, const std::string& expected) {
  if (found.empty()) return {};
  return " (SHA-256 der Datei: " + found + ", in Settings.ini: " + expected + ")";
}

// A file beside the continuation file holds what the run went through, or
// is not there: one left from an older run must not count in this one.
void WriteBeside(platform::System& system, const std::string& path, const std::string& text) {
  if (!text.empty()) {
    system.WriteHiddenFile(path, text);
  } else if (system.FileExists(path)) {
    system.RemoveFile(path);
  }
}

}  // namespace

void TFKopieren::StartInstallation() {
  frame::Context& context = Shared();
  const bool to_tray = context.choices.Options().Minimize;
  if (to_tray) SendToTray();
  CurrentIndex = 1;
  CurrentNumber = 0;
  if (!to_tray) Show();
  context.Run().Started();
  cache_.Open(context.System(), context.DataPath(""), context.StateFolder());
  restart_asked_ = false;
  awaiting_restart_ = false;
  context.detection.WhenEvaluated([this] { InstallChosen(); });
}

// The packages found installed are left out by now, so that the counter and
// the progress bar count only what runs.
void TFKopieren::InstallChosen() {
  frame::Context& context = Shared();
  const int chosen = static_cast<int>(context.choices.RowsFrom(1).size());
  TotalCount = context.Run().Counted(chosen, context.choices.LeftOutCount());
  CurrentNumber = TotalCount - chosen;  // installed before a restart
  restart_asked_ = RestartFirstForPending();
  InstallNext();
}

// No page stood before: the installation stands where the first page would.
void TFKopieren::StartInstallationOnItsOwn() {
  CentreOnScreen();
  StartInstallation();
}

void TFKopieren::StartInstallationFrom(frame::PageFrame& current) {
  if (!TakeInstallLock(*this, current)) return;
  frame::PlacePage(current, *this);
  StartInstallation();
  current.Hide();
}

void TFKopieren::InstallNext() {
  const frame::Context& context = Shared();
  DeletePreviousLog();
  if (context.Packages.Count() < CurrentIndex || context.Run().Cancelled()) {
    ShowFinishPage();
    return;
  }
  if (!context.choices.Chosen(CurrentIndex)) {
    if (context.choices.LeftOut(CurrentIndex)) PassOverInstalled();
    ++CurrentIndex;
    InstallNext();
    return;
  }
  ++CurrentNumber;
  const std::string path = context.DataPath(context.Packages[CurrentIndex].File);
  if (RestartDue()) {
    HandOverToRestart();  // this package runs after the restart
    return;
  }
  if (FailInterruptedTwice()) {
    ++CurrentIndex;
    InstallNext();
    return;
  }
  WriteAhead();
  StartPackage(path);
  ShowProgress(path);
}

// The run's file is kept in step: it names only what is still to run, so a
// run killed now resumes with the next package.
void TFKopieren::PackageFinished(PackageOutcome outcome) {
  running_ = false;
  Shared().Run().AttemptEnded(CurrentIndex - 1);
  if (outcome.copy_failed && WaitForSource(outcome)) return;
  waited_ms_ = 0;
  EndCopy(outcome);
  RecordOutcome(outcome);
  ShowTaskbarProgress();
  ++CurrentIndex;
  if (outcome.state == PackageState::RestartStarted) {
    AwaitStartedRestart();
    return;
  }
  if (!Shared().Run().Cancelled()) WriteContinuationFile(CurrentIndex);
  InstallNext();
}

// A package that its rule found installed is named in the log with the
// rule; it counted on the finish page when the run was counted.
void TFKopieren::PassOverInstalled() {
  frame::Context& context = Shared();
  const release::PackageEntry& package = context.Packages[CurrentIndex];
  context.Log().Write(frame::PackageInLog(CurrentIndex, package.Name) +
                      ": bereits installiert laut Detect=" + package.Detect + ", nicht gestartet");
}

// Only a package whose installer ran can ask for a restart: by its
// Restart value or by its exit code. One whose update does not apply
// changed nothing, and asks for none; one that the system has already counts
// as found installed, as if its rule had found it.
void TFKopieren::RecordOutcome(const PackageOutcome& outcome) {
  frame::Context& context = Shared();
  const release::PackageEntry& package = context.Packages[CurrentIndex];
  const std::string reason = NotStartedReason(outcome);
  context.Log().Write(frame::PackageInLog(CurrentIndex, package.Name) + ": " +
                      OutcomeText(outcome, reason) +
                      ChecksumText(outcome.damaged_sha256, package.Sha256));
  if (outcome.state == PackageState::AlreadyInstalled) context.Run().PackageFoundInstalled();
  const bool applies = outcome.state != PackageState::NotApplicable;
  if (outcome.started && applies && outcome.state != PackageState::AlreadyInstalled) {
    context.Run().PackageInstalled();
  }
  if (outcome.started) {
    restart_asked_ =
        applies && (package.Restart == "1" || outcome.state == PackageState::RestartNeeded);
    if (restart_asked_) context.Run().RestartAsked();
  }
  if (!applies) context.Run().PackageNotApplicable(package.Name);
  if (outcome.state == PackageState::Failed || outcome.state == PackageState::NotStarted) {
    context.Run().PackageFailed({package.Name, outcome.started, outcome.exit_code, reason});
  }
}

// In the release's words where they say it, on the finish page too.
std::string TFKopieren::NotStartedReason(const PackageOutcome& outcome) const {
  return outcome.reason_word ? Word(*outcome.reason_word) : outcome.reason;
}

// The package restarts the computer itself: the run goes on after it with
// the next package.
void TFKopieren::AwaitStartedRestart() {
  frame::Context& context = Shared();
  context.Run().PackageStartedRestart();
  if (context.choices.RowsFrom(CurrentIndex).empty()) {
    InstallNext();  // nothing is left: the run is over
    return;
  }
  if (!KeepRunForRestart()) return;
  awaiting_restart_ = true;
}

// The page comes back from the tray and the continuation is written; when
// it can't be, the rest of the run is lost and the run ends as failed.
bool TFKopieren::KeepRunForRestart() {
  RestoreFromTray();
  if (SaveContinuation()) return true;
  ShowFinishPage();
  return false;
}

// The log of the entry before the current one goes to the recycle bin, at
// every step; only names inside the Windows folder are ever deleted, and
// never the log that the run itself had the package write.
void TFKopieren::DeletePreviousLog() {
  if (!Shared().choices.Options().DeleteLogs || CurrentIndex < 2) return;
  const std::string& log = Shared().Packages[CurrentIndex - 1].Logfile;
  if (log.empty() || !IsPlainLogName(log)) return;
  platform::System& system = Shared().System();
  try {
    const std::string path = system.WindowsFolder() + "\\" + log;
    if (!system.FileExists(path) || Upper(path) == Upper(WithPackageLog(CurrentIndex - 1).log_path))
      return;
    system.RecycleFile(path);
    Shared().Log().Write("Logdatei " + path + " in den Papierkorb verschoben");
  } catch (const std::exception&) {
    // Deleting logs is a courtesy; the run goes on without it.
  }
}

// Due after a package of this run that demands it and whose installer
// really ran (a package left out as installed, missing or of no kind that
// the system runs demands nothing), or before the first package when the
// run restarts first for a restart that Windows waited for.
bool TFKopieren::RestartDue() const {
  return restart_asked_;
}

void TFKopieren::HandOverToRestart() {
  frame::Context& context = Shared();
  if (!KeepRunForRestart()) return;
  if (context.Switches.no_restart) {
    LeaveRestartToTheAdministrator();
    return;
  }
  App().FlashApplicationWindow();
  if (!context.choices.Options().AutoReboot) Pages().Form1->ShowModal();
  const platform::Status restart = finish::RequestRestart(context);
  if (restart.ok) {
    awaiting_restart_ = true;
  } else {
    RestartRefused(restart.reason);
  }
}

// The continuation stays in place: the run goes on after the next restart
// of the computer, whoever makes it.
void TFKopieren::RestartRefused(const std::string& reason) {
  frame::Context& context = Shared();
  context.ShowMessageDialog(Word(release::kWordRestartFailed) +
                                (reason.empty() ? "" : ": " + reason) + "\n" +
                                Word(release::kWordContinuesAfterRestart),
                            frame::MessageKind::Information);
  ShowFinishPage();
}

// "/norestart": the run stops here with its continuation in place; the
// administrator's next restart goes on with the rest.
void TFKopieren::LeaveRestartToTheAdministrator() {
  Shared().Log().Write(
      "Neustart nötig, aber /norestart: die Installation geht nach dem nächsten "
      "Neustart weiter");
  ShowFinishPage();
}

bool TFKopieren::SessionEndCancelled() {
  if (!awaiting_restart_) return false;
  awaiting_restart_ = false;
  RestartRefused(Word(release::kWordRestartVetoed));
  return true;
}

bool TFKopieren::SaveContinuation() {
  frame::Context& context = Shared();
  const std::string path = context.ContinuationPath();
  context.Log().Write("Neustart vor Paket " + std::to_string(CurrentIndex) +
                      ": Fortsetzungsdatei " + path);
  std::string failure;
  if (!WriteContinuationFile(CurrentIndex)) {
    failure = Word(release::kWordFileNotWritable) + ": " + path;
  } else if (!(failure = frame::RegisterContinuationStart(context)).empty()) {
    context.System().RemoveFile(path);
  } else {
    context.Run().HandOverSaved();
    frame::WriteRunRecord(context);
    return true;
  }
  context.Run().HandOverFailed(failure);
  context.ShowMessageDialog(Word(release::kWordHandOverFailed) + ": " + failure + ".",
                            frame::MessageKind::Error);
  return false;
}

// The packages from package `from` on that belong to the run.
bool TFKopieren::WriteContinuationFile(int from) {
  frame::Context& context = Shared();
  const frame::Choices& choices = context.choices;
  const std::string text =
      frame::ContinuationText(context.Run().RunTotal(), choices.Options(), choices.RowsFrom(from));
  platform::System& system = context.System();
  WriteBeside(system, context.FailuresPath(), frame::FailuresText(context.Run().Failures()));
  WriteBeside(system, context.AttemptsPath(),
              frame::AttemptsText(context.Run().AttemptsByPackage()));
  const int found = context.Run().FoundInstalled();
  WriteBeside(system, context.FoundInstalledPath(), found ? std::to_string(found) : "");
  WriteBeside(system, context.RecordPath(), frame::RecordHive(context));
  WriteBeside(system, context.ComputerPath(), system.ComputerName());
  WriteBeside(system, context.NotApplicablePath(), frame::NamesText(context.Run().NotApplicable()));
  WriteBeside(system, context.PendingRestartPath(),
              context.Run().RestartedForPendingRestart() ? "1\r\n" : "");
  return system.WriteHiddenFile(context.ContinuationPath(), text);
}

// The record first, then the file, the starter and what starts it: a power
// cut on the way leaves the run ended, or a start that finds its file (or
// its program) gone and ends.
void TFKopieren::EndContinuation() {
  const frame::Context& context = Shared();
  platform::System& system = context.System();
  frame::WriteRunRecord(context);
  if (system.FileExists(context.ContinuationPath())) system.RemoveFile(context.ContinuationPath());
  frame::RemoveLocalStarter(context);
  frame::RemoveContinuationStart(context);
  context.RemoveFilesBesideContinuation();
  cache_.RemoveAll();
}

// The package's parameters with its own log added, and that log's path.
LoggedParameters TFKopieren::WithPackageLog(int number) const {
  const frame::Context& context = Shared();
  const release::PackageEntry& package = context.Packages[number];
  return AddPackageLog(context.DataPath(package.File), package.Parameters, context.Log().Folder());
}

void TFKopieren::StartPackage(const std::string& path) {
  frame::Context& context = Shared();
  running_ = true;
  const release::PackageEntry& package = context.Packages[CurrentIndex];
  const LoggedParameters logged = WithPackageLog(CurrentIndex);
  context.Log().Write(frame::PackageInLog(CurrentIndex, package.Name) + " startet: " + path + " " +
                      logged.parameters);
  if (!logged.log_path.empty()) context.Log().Write("Protokoll des Pakets: " + logged.log_path);
  TMyThread worker{path, package.Sha256, logged.parameters, context.TemporaryFolder(),
                   CopiesFor(CurrentIndex)};
  worker.Start(context.System(), context.CurrentOSIndex, context.choices.Options().LowPriority,
               [this](const PackageOutcome& outcome) {
                 App().Guard([this, outcome] { PackageFinished(outcome); });
               });
}

void TFKopieren::ShowProgress(const std::string& path) {
  frame::Context& context = Shared();
  platform::System& system = context.System();
  const std::string size =
      FormatSize(system.FileSize(path).value_or(0), system.LocaleNumberSeparators());
  LKopierStatus.SetCaption(Word(release::kWordInstallingPackage) + " " +
                           std::to_string(CurrentNumber) + " " + Word(release::kWordOf) + " " +
                           std::to_string(TotalCount) + " (" + size + ")");
  const release::PackageEntry& package = context.Packages[CurrentIndex];
  LKopierDatei.SetCaption(package.Name);
  const int percent = RoundHalfEven((CurrentNumber - 1) * (100.0 / TotalCount));
  ProgressBar.SetPosition(percent);
  ShowTaskbarProgress();
  context.TrayIcon->SetIconIndex(RoundHalfEven(percent / 100.0 * 16));
  context.TrayIcon->SetHint(context.Settings.Name + " - " + Word(release::kWordTrayInstalling) +
                            " (" + std::to_string(percent) + "%)");
}

// Named apart from the failures, once, at the end of the whole run.
void TFKopieren::LogNotApplicable() {
  std::string names;
  for (const std::string& name : Shared().Run().NotApplicable()) {
    names += (names.empty() ? "" : ", ") + name;
  }
  if (!names.empty()) Shared().Log().Write("Nicht zutreffend für dieses System: " + names);
}

// The end of the run, finished or cancelled; a run that waits for a refused
// restart keeps its continuation.
void TFKopieren::ShowFinishPage() {
  Shared().Run().Ended();
  if (!Shared().Run().WaitsForRestart()) {
    LogNotApplicable();
    EndContinuation();
  }
  cache_.LetGo();
  RestoreFromTray();
  finish::TFEnde& finish = *Pages().FEnde;
  frame::PlacePage(*this, finish);
  finish.Show();
  Hide();
}

}  // namespace engine
