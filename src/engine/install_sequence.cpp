// The installation sequence of the installation page: one step per package,
// driven by the end of each package's worker.
#include <cmath>

#include "app/integer_text.h"
#include "engine/continuation.h"
#include "engine/install_page.h"
#include "engine/package_runner.h"
#include "engine/size_text.h"
#include "finish/finish_page.h"
#include "finish/restart.h"
#include "finish/restart_prompt.h"
#include "platform/system.h"
#include "ui/application.h"
#include "wizard/advanced_page.h"
#include "wizard/choices.h"
#include "wizard/method_page.h"

namespace engine {

namespace {

// Halves go to the even neighbour.
int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

// A log file name that stays inside the Windows folder.
bool IsPlainLogName(const std::string& name) {
  if (name.find(':') != std::string::npos || name[0] == '\\' || name[0] == '/') return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = name.find_first_of("\\/", start);
    if (name.substr(start, end - start) == "..") return false;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return true;
}

}  // namespace

bool TFKopieren::UserDefined() const { return Pages().FMethode->CBAdvancedInstall.Checked(); }

void TFKopieren::StartInstallation() {
  app::TFMain& main = Main();
  const wizard::TFErweitert& advanced = *Pages().FErweitert;
  const bool to_tray = advanced.CBMinimieren.Checked();
  if (to_tray) SendToTray();
  CancelRequested = false;
  CurrentIndex = 1;
  TotalCount = 0;
  CurrentNumber = 0;
  if (!to_tray) Show();
  TotalCount = UserDefined() ? wizard::CountChosenPackages(advanced.LVDateien, main.Settings.Files)
                             : app::StrToInt(main.Settings.Files);
  if (main.RunTotal == 0) {
    main.RunTotal = TotalCount;
  } else {
    CurrentNumber = main.RunTotal - TotalCount;  // installed before the restart
    TotalCount = main.RunTotal;
  }
  RunCount = 0;
  last_started_ = 0;
  InstallNext();
}

void TFKopieren::InstallNext() {
  app::TFMain& main = Main();
  DeletePreviousLog();
  if (app::StrToInt(main.Settings.Files) < CurrentIndex || CancelRequested) {
    ShowFinishPage();
    return;
  }
  if (UserDefined() && !Pages().FErweitert->LVDateien.ItemChecked(CurrentIndex - 1)) {
    ++CurrentIndex;
    InstallNext();
    return;
  }
  ++CurrentNumber;
  ++RunCount;
  const std::string path = main.DataPath(main.Packages[CurrentIndex].File);
  const bool restart_due = RestartDue();
  SkippedAsInstalled = false;
  if (restart_due) {
    HandOverToRestart();  // this package runs after the restart
    return;
  }
  StartPackage(path);
  ShowProgress(path);
}

void TFKopieren::PackageFinished() {
  ++CurrentIndex;
  InstallNext();
}

// The log of the entry before the current one goes to the recycle bin, at
// every step; only names inside the Windows folder are ever deleted.
void TFKopieren::DeletePreviousLog() {
  if (!Pages().FErweitert->CBLoescheLogs.Checked() || CurrentIndex < 2) return;
  const std::string& log = Main().Packages[CurrentIndex - 1].Logfile;
  if (log.empty() || !IsPlainLogName(log)) return;
  platform::System& system = Main().System();
  try {
    const std::string path = system.WindowsFolder() + "\\" + log;
    if (system.FileExists(path)) system.RecycleFile(path);
  } catch (const std::exception&) {
    // Deleting logs is a courtesy; the run goes on without it.
  }
}

// Due after a package of this run that demands it, unless that package was
// left out as already installed.
bool TFKopieren::RestartDue() const {
  return RunCount > 1 && last_started_ > 0 && Main().Packages[last_started_].Restart == "1" &&
         !SkippedAsInstalled;
}

void TFKopieren::HandOverToRestart() {
  app::TFMain& main = Main();
  RestoreFromTray();
  if (!SaveContinuation()) {
    CancelRequested = true;
    ShowFinishPage();
    return;
  }
  App().FlashApplicationWindow();
  if (!Pages().FErweitert->CBAutoReboot.Checked()) Pages().Form1->ShowModal();
  finish::RestartSystem(main);
}

// The continuation file and the run-once value, or a clear message and
// neither of them.
bool TFKopieren::SaveContinuation() {
  app::TFMain& main = Main();
  platform::System& system = main.System();
  const wizard::TFErweitert& advanced = *Pages().FErweitert;
  std::vector<int> rows;
  const int count = app::StrToInt(main.Settings.Files);
  for (int i = CurrentIndex; i <= count; ++i) {
    if (!UserDefined() || advanced.LVDateien.ItemChecked(i - 1)) rows.push_back(i - 1);
  }
  const std::string text = ContinuationText(
      main.RunTotal,
      {advanced.CBAutoReboot.Checked(), advanced.CBMinimieren.Checked(),
       advanced.CBLoescheLogs.Checked(), advanced.CBNiedrigePrioritaet.Checked()},
      rows);
  const std::string path = main.ContinuationPath();
  if (!system.WriteHiddenFile(path, text)) {
    main.ShowMessageDialog("Die Installation kann nach einem Neustart nicht fortgesetzt werden: "
                           "die Datei " + path + " lässt sich nicht schreiben.",
                           app::MessageKind::Error);
    return false;
  }
  // A program started elevated on a system with user account control goes
  // on only from the machine's run-once key.
  const bool uac = main.CurrentOSIndex == "8" || main.CurrentOSIndex == "9";
  if (!system.WriteRunOnce(kRunOnceName, "\"" + system.ProgramPath() + "\"",
                           uac && system.IsElevated())) {
    system.RemoveFile(path);
    main.ShowMessageDialog("Die Installation kann nach einem Neustart nicht fortgesetzt werden: "
                           "der Eintrag für den Start nach der Anmeldung lässt sich nicht "
                           "schreiben.",
                           app::MessageKind::Error);
    return false;
  }
  return true;
}

void TFKopieren::StartPackage(const std::string& path) {
  app::TFMain& main = Main();
  last_started_ = CurrentIndex;
  TMyThread worker{path, main.Packages[CurrentIndex].Parameters};
  worker.Start(main.System(), main.CurrentOSIndex,
               Pages().FErweitert->CBNiedrigePrioritaet.Checked(), SkippedAsInstalled,
               [this] { App().Guard([this] { PackageFinished(); }); });
}

void TFKopieren::ShowProgress(const std::string& path) {
  app::TFMain& main = Main();
  platform::System& system = main.System();
  const std::string size =
      FormatSize(system.FileSize(path).value_or(0), system.LocaleNumberSeparators());
  LKopierStatus.SetCaption(Word(68) + " " + std::to_string(CurrentNumber) + " " + Word(33) + " " +
                           std::to_string(TotalCount) + " (" + size + ")");
  const app::PackageEntry& package = main.Packages[CurrentIndex];
  LKopierDatei.SetCaption(package.Name);
  const int percent = RoundHalfEven((CurrentNumber - 1) * (100.0 / TotalCount));
  ProgressBar.SetPosition(percent);
  main.TrayIcon.SetIconIndex(RoundHalfEven(percent / 100.0 * 16));
  main.TrayIcon.SetHint(main.Settings.Name + " - " + Word(71) + " (" + std::to_string(percent) +
                        "%)");
}

void TFKopieren::ShowFinishPage() {
  RestoreFromTray();
  finish::TFEnde& finish = *Pages().FEnde;
  app::PlacePage(*this, finish);
  finish.Show();
  Hide();
}

}  // namespace engine
