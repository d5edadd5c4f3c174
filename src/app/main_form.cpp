#include "app/main_form.h"

#include <algorithm>

#include "engine/install_page.h"
#include "finish/finish_page.h"
#include "frame/continuation_start.h"
#include "frame/install_log.h"
#include "frame/local_starter.h"
#include "frame/run_once.h"
#include "frame/run_record.h"
#include "frame/state_folder.h"
#include "frame/unseen_run.h"
#include "platform/system.h"
#include "release/errors.h"
#include "release/ini_file.h"
#include "release/integer_text.h"
#include "ui/application.h"
#include "wizard/welcome_page.h"

namespace app {

TFMain::TFMain(ui::Application& app, platform::System& system, frame::UnattendedDialogs& dialogs)
    : ui::Form(app, "TFMain", {192, 106, 213, 75}, "FMain", {}), context(app, system, dialogs) {
  context.forms.FMain = this;
  context.TrayIcon = &TrayIcon;
  context.Lock = &Lock;
  OnCreate.Bind(this, &TFMain::FormCreate);
  TStart.OnTimer.Bind(this, &TFMain::TStartTimer);
  TRestartWait.OnTimer.Bind(this, &TFMain::TRestartWaitTimer);
  context.Run().OnRestartStarted.Bind(this, &TFMain::RunRestartStarted);
  MIWiederherstellen.OnClick.Bind(this, &TFMain::MIWiederherstellenClick);
  MIAbbrechen.OnClick.Bind(this, &TFMain::MIAbbrechenClick);
  app.OnQueryEndSession.Bind(this, &TFMain::ApplicationQueryEndSession);
  app.OnSessionEndCancelled.Bind(this, &TFMain::ApplicationSessionEndCancelled);
  app.OnSessionEnds.Bind(this, &TFMain::ApplicationSessionEnds);
  app.OnErrorText.Bind(this, &TFMain::ApplicationErrorText);
}

// A start-up that cannot load its release has nothing to show: the error is
// reported and the program ends instead of living on without a window.
// Nobody watches a silent start or a continuation: from the first moment,
// their errors go to the install log rather than on screen.
void TFMain::FormCreate() {
  platform::System& system = context.System();
  context.Switches = frame::ParseStartOptions(system.Arguments());
  context.CurrentOSIndex = release::IdentifyOS(system.QueryOsVersion());
  unseen_ = frame::NobodySeesTheScreen(system, context.CurrentOSIndex);
  if (context.Switches.help) {
    LoadWords();
    context.ShowMessageDialog(frame::UsageText(context.Words), frame::MessageKind::Information);
    App().Terminate(0);
    return;
  }
  // The continuation carries the log's absolute path: both halves of a run
  // write the one file, whoever runs them and from whichever folder.
  context.Log().Place(context.Switches.log_path, context.ProgramDataFolder());
  context.Switches.log_path = context.Log().Path();
  context.SetUnattended(context.Switches.silent || unseen_ ||
                        frame::OwnContinuationBesideProgram(system));
  std::string command_line;
  for (const std::string& argument : system.Arguments()) command_line += " " + argument;
  context.Log().Write("Start: Installer " INSTALLER_VERSION "," + command_line);
  if (unseen_) {
    context.Log().Write("Niemand sieht die Fenster (Sitzung " + std::to_string(system.SessionId()) +
                        (system.DesktopVisible() ? "" : ", Fensterstation ohne Anzeige") +
                        "): unbeaufsichtigt");
  }
  if (frame::EndStaleStart(context)) {
    App().Terminate(0);
    return;
  }
  if (Starter.Start()) return;
  try {
    LoadStartupData();
  } catch (const std::exception& e) {
    App().ShowException(e);
    App().Terminate(1);
  }
}

void TFMain::LoadWords() {
  context.Words = release::LoadWords(
      release::IniFile::Load(context.System(), context.DataPath("Language.ini")));
}

void TFMain::LoadStartupData() {
  platform::System& system = context.System();
  LoadWords();
  const release::IniFile settings =
      release::IniFile::Load(system, context.DataPath("Settings.ini"));
  context.Settings = release::LoadSettings(settings);
  App().HideApplicationButton();
  release::LoadPackageTable(settings, context.Settings.Files, context.Packages);
  App().SetTitle(context.Settings.Name);
  context.SetStateFolder(frame::ChooseStateFolder(
      system, context.Log(), context.ProgramDataFolder(), context.Settings.Name));
  frame::NoteReleaseFolder(context);
  const std::string& version = context.Settings.Version;
  const int packages = context.Packages.Count();
  context.Log().Write("Release " + context.Settings.Name + (version.empty() ? "" : " " + version) +
                      ", " + std::to_string(packages) + (packages == 1 ? " Paket, " : " Pakete, ") +
                      release::SystemName(system.QueryOsVersion()) + " (Index " +
                      std::to_string(static_cast<int>(context.CurrentOSIndex)) + ")" +
                      (system.IsElevated() ? ", mit Administratorrechten" : "") + ", Ordner " +
                      context.StateFolder());
  context.detection.Start(context);
  if (system.FileExists(context.ContinuationPath())) context.SetUnattended(true);
  ILTrayIconsXP.Clear();
  ILTrayIconsXP.Add(system.ProgramIcon());
  if (release::IsXpOrLater(context.CurrentOSIndex)) TrayIcon.SetIconList(&ILTrayIconsXP);
  TStart.SetEnabled(true);
  MIWiederherstellen.SetCaption(context.Words[release::kWordRestore]);
  MIAbbrechen.SetCaption(context.Words[release::kWordCancel]);
}

// The start decision needs every form. An error report shown while the
// later forms are created runs a message loop in which the timer fires
// early; it then fires again once they exist. A continuation file that
// can't be read is set aside, and the start goes on as if it were not there.
void TFMain::TStartTimer() {
  if (!context.forms.Complete()) return;
  TStart.SetEnabled(false);
  if (context.System().FileExists(context.ContinuationPath()) && ContinueInterruptedRun()) return;
  if (unseen_ && !context.Switches.silent) RunUnseenAsSilent();
  const bool silent = context.Switches.silent;
  context.SetUnattended(silent);
  if (!unreadable_continuation_.empty()) {
    context.ShowMessageDialog(unreadable_continuation_, frame::MessageKind::Information);
  }
  if (silent) {
    StartSilentRun();
  } else {
    ShowWelcomePage();
  }
}

void TFMain::StartSilentRun() {
  context.Log().Write("Unbeaufsichtigte Installation aller Pakete (/silent)");
  context.choices.ChooseSilentRun();
  StartWithoutWizard();
}

// A wizard where nobody sees it would wait for ever: the run takes the
// silent road, and a restart it needs is left to whoever started it, who
// asked for no automatic one.
void TFMain::RunUnseenAsSilent() {
  context.Log().Write(
      "Ohne /silent gestartet, wo niemand die Fenster sieht: wie /silent /norestart");
  context.Switches.silent = true;
  context.Switches.no_restart = true;
}

// A continued run that nobody sees and that restarts only when asked would
// wait for ever at the restart prompt or on the finish page: the restart is
// left to the administrator, as with /norestart.
void TFMain::LeaveRestartWhenUnseen() {
  if (!unseen_ || context.choices.Options().AutoReboot || context.Switches.no_restart) return;
  context.Log().Write(
      "Niemand sieht die Fenster, kein automatischer Neustart gewählt: wie /norestart");
  context.Switches.no_restart = true;
}

// The file stays until the run is over: the run keeps it in step.
bool TFMain::ContinueInterruptedRun() {
  frame::Continuation file;
  try {
    file = ReadContinuationFile();
  } catch (const std::exception& e) {
    SetContinuationAside(release::ErrorMessage(e, context.Words));
    return false;
  }
  context.Log().Write("Fortsetzungsdatei " + context.ContinuationPath() +
                      " gelesen: " + std::to_string(file.Rows.size()) + " von " +
                      std::to_string(file.RunTotal) + " Paketen");
  context.Run().Continued(file.RunTotal, ReadRunSoFar());
  context.choices.ChooseUserDefined();
  context.choices.Restore(file);
  LeaveRestartWhenUnseen();
  // Windows removed the run-once value when it started this run (a task for
  // the system start stays, and is replaced); until the run is over, a kill,
  // a power cut or a wait for another installer that comes to nothing must
  // not lose the rest of it.
  frame::RegisterContinuationStart(context);
  StartWithoutWizard();
  return true;
}

// What failed before the restart belongs to the outcome of the whole run, as
// do the packages that did not apply and those found installed; the
// packages' attempts, the restart for one that Windows waited for and the
// place of the record count over the whole run too.
frame::RunSoFar TFMain::ReadRunSoFar() {
  platform::System& system = context.System();
  frame::RunSoFar so_far;
  if (const auto failed = system.ReadFileBytes(context.FailuresPath())) {
    so_far.failures = frame::ReadFailures(*failed);
  }
  if (const auto attempts = system.ReadFileBytes(context.AttemptsPath())) {
    so_far.attempts = frame::ReadAttempts(*attempts);
  }
  if (const auto found = system.ReadFileBytes(context.FoundInstalledPath())) {
    so_far.found_installed = std::max(0, release::StrToIntDef(*found, 0));
  }
  if (const auto hive = system.ReadFileBytes(context.RecordPath())) {
    so_far.record_machine_wide = *hive == "HKEY_LOCAL_MACHINE";
  }
  if (const auto names = system.ReadFileBytes(context.NotApplicablePath())) {
    so_far.not_applicable = frame::ReadNames(*names);
  }
  so_far.restarted_for_pending_restart = system.FileExists(context.PendingRestartPath());
  return so_far;
}

frame::Continuation TFMain::ReadContinuationFile() {
  const std::string path = context.ContinuationPath();
  const auto bytes = context.System().ReadFileBytes(path);
  if (!bytes) throw release::FileNotOpened(path);
  continued_from_ = *bytes;
  return frame::ReadContinuation(*bytes, context.Packages.Count());
}

// Another copy that held the lock may have continued the same run meanwhile:
// a file that is gone was finished by it, one that changed is read anew, so
// that nothing it installed runs again.
bool TFMain::ContinuationUnchanged() {
  const std::string path = context.ContinuationPath();
  const auto bytes = context.System().ReadFileBytes(path);
  if (bytes == continued_from_) return true;
  if (!bytes) {
    context.Log().Write("Fortsetzungsdatei " + path +
                        " ist nicht mehr da: ein anderes Installationsprogramm hat die "
                        "Installation zu Ende geführt");
    context.forms.FKopieren->EndContinuation();
    context.CloseProgram();
    return false;
  }
  context.Log().Write("Fortsetzungsdatei " + path +
                      " hat sich geändert: ein anderes Installationsprogramm hat die "
                      "Installation fortgesetzt");
  if (!ContinueInterruptedRun()) {
    context.ShowMessageDialog(unreadable_continuation_, frame::MessageKind::Information);
    context.CloseProgram();
  }
  return false;
}

// Moved aside, replacing an older one, so that the next start is not stuck
// on the same file; removed when even that fails.
void TFMain::SetContinuationAside(const std::string& reason) {
  platform::System& system = context.System();
  const std::string path = context.ContinuationPath();
  const std::string aside = path + ".bad";
  const release::WordTable& words = context.Words;
  std::string where = words[release::kWordRenamedTo] + " " + aside + ".";
  if (!system.RenameFile(path, aside))
    where = words[system.RemoveFile(path) ? release::kWordDeleted : release::kWordNotRemoved];
  context.RemoveFilesBesideContinuation();
  unreadable_continuation_ =
      reason + "\n" + words[release::kWordContinuationUnreadable] + ": " + path + "\n" + where;
}

// One installer at a time: an unattended run waits for the other to end,
// within a generous limit.
void TFMain::StartWithoutWizard() {
  if (Lock.Take()) {
    InstallWithoutWizard();
    return;
  }
  Lock.Wait([this] { return Lock.WaitedMs() >= kInstallLockWaitMs; },
            [this](bool taken) {
              if (taken) {
                InstallWithoutWizard();
              } else {
                GiveUpWaiting();
              }
            });
}

void TFMain::InstallWithoutWizard() {
  if (context.Run().Continued() && !ContinuationUnchanged()) return;
  context.forms.FKopieren->StartInstallationOnItsOwn();
  Hide();
}

// A continued run stays registered for the next logon.
void TFMain::GiveUpWaiting() {
  context.ShowMessageDialog(context.Words[release::kWordAnotherInstallerRuns],
                            frame::MessageKind::Error);
  context.CloseProgram();
}

void TFMain::ShowWelcomePage() {
  context.forms.FWillkommen->Show();
}

void TFMain::MIWiederherstellenClick() {
  context.forms.FKopieren->RestoreFromTray();
}

void TFMain::MIAbbrechenClick() {
  context.forms.FKopieren->BAbbrechen.Click();
}

// The program answers the end of the session once. During a restart it lets
// the session end; while a package installs it saves the run so that it
// goes on after the logon; with the rest of the run saved (the restart
// prompt, the refused restart's message, the finish page of an unfinished
// run) nothing is lost and nobody is asked; while a watched run waits for
// another installer, nothing is installed yet, so the wizard's question
// decides; otherwise the visible pages are asked.
void TFMain::ApplicationQueryEndSession(bool& may_end) {
  if (Starter.Waiting()) {
    Starter.SessionEnds();
    return;
  }
  frame::RunState& run = context.Run();
  if (!context.forms.Complete() || run.Restarting()) return;
  engine::TFKopieren& install = *context.forms.FKopieren;
  if (install.Running()) {
    install.SaveForSessionEnd();
    return;
  }
  if (run.WaitsForRestart()) {
    run.SessionEnding();
    return;
  }
  if (Lock.Waiting() && !context.Unattended()) {
    may_end = context.AskQuestion(context.Words[release::kWordCloseQuestion]);
    return;
  }
  may_end = App().VisibleFormsMayClose();
}

// Until the release's words are loaded, the built-in German ones say it.
void TFMain::ApplicationErrorText(const std::exception& e, std::string& text) {
  text = release::ErrorMessage(e, context.Words);
}

void TFMain::ApplicationSessionEnds() {
  frame::WriteRunRecord(context);
  const int code = context.Run().ExitCode();
  context.Log().Write("Die Sitzung endet: Ende mit Exitcode " +
                      frame::ExitCodeText(static_cast<std::uint32_t>(code)));
  App().SetExitCode(code);
}

// Another program refused the end of the session, so no restart, not even a
// package's, happens now: whoever asked for the restart gets its window back.
void TFMain::ApplicationSessionEndCancelled() {
  if (!context.forms.Complete()) return;
  const bool restarting = context.Run().Restarting();
  context.Run().SessionEndCancelled();
  if (!restarting) return;
  context.Log().Write("Ein anderes Programm hat das Ende der Sitzung verhindert");
  TakeBackRestart();
}

void TFMain::TakeBackRestart() {
  TRestartWait.SetEnabled(false);
  if (!context.forms.FKopieren->SessionEndCancelled()) context.forms.FEnde->SessionEndCancelled();
}

// The wait starts anew with each restart.
void TFMain::RunRestartStarted() {
  TRestartWait.SetEnabled(false);
  TRestartWait.SetEnabled(true);
}

void TFMain::TRestartWaitTimer() {
  TRestartWait.SetEnabled(false);
  if (!context.Run().Restarting()) return;
  context.Run().SessionEndCancelled();
  context.Log().Write("Der Neustart hat die Sitzung nach " + std::to_string(kRestartWaitMs / 1000) +
                      " Sekunden nicht beendet; wohl hat ein anderes Programm ihn verhindert");
  TakeBackRestart();
}

}  // namespace app
