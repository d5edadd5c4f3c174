#include "app/main_form.h"

#include "engine/install_page.h"
#include "platform/system.h"
#include "release/errors.h"
#include "release/ini_file.h"
#include "ui/application.h"
#include "wizard/welcome_page.h"

namespace app {

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

TFMain::TFMain(ui::Application& app, platform::System& system, platform::Dialogs& dialogs)
    : ui::Form(app, "TFMain", {192, 106, 213, 75}, "FMain", {}), context(app, system, dialogs) {
  context.forms.FMain = this;
  context.TrayIcon = &TrayIcon;
  OnCreate.Bind(this, &TFMain::FormCreate);
  TStart.OnTimer.Bind(this, &TFMain::TStartTimer);
  MIWiederherstellen.OnClick.Bind(this, &TFMain::MIWiederherstellenClick);
  MIAbbrechen.OnClick.Bind(this, &TFMain::MIAbbrechenClick);
}

// A start-up that cannot load its release has nothing to show: the error is
// reported and the program ends instead of living on without a window.
void TFMain::FormCreate() {
  try {
    LoadStartupData();
  } catch (const std::exception& e) {
    App().ShowException(e);
    App().Terminate(1);
  }
}

void TFMain::LoadStartupData() {
  platform::System& system = context.System();
  context.CurrentOSIndex = release::IdentifyOS(system.QueryOsVersion());
  context.Words =
      release::LoadWords(release::IniFile::Load(system, context.DataPath("Language.ini")));
  const release::IniFile settings =
      release::IniFile::Load(system, context.DataPath("Settings.ini"));
  context.Settings = release::LoadSettings(settings);
  App().HideApplicationButton();
  release::LoadPackageTable(settings, context.Settings.Files, context.Packages);
  App().SetTitle(context.Settings.Name);
  ILTrayIconsXP.Clear();
  ILTrayIconsXP.Add(system.ProgramIcon());
  if (release::IsXpOrLater(context.CurrentOSIndex)) TrayIcon.SetIconList(&ILTrayIconsXP);
  TStart.SetEnabled(true);
  MIWiederherstellen.SetCaption(context.Words[70]);
  MIAbbrechen.SetCaption(context.Words[5]);
}

// The start decision needs every form. An error report shown while the
// later forms are created runs a message loop in which the timer fires
// early; it then fires again once they exist.
void TFMain::TStartTimer() {
  if (!context.forms.Complete()) return;
  TStart.SetEnabled(false);
  if (context.System().FileExists(context.ContinuationPath())) {
    ContinueInterruptedRun();
    return;
  }
  const auto arguments = context.System().Arguments();
  if (!arguments.empty() && Trimmed(arguments[0]) == "/silent") {
    StartSilentRun();
  } else {
    ShowWelcomePage();
  }
}

void TFMain::StartSilentRun() {
  context.choices.ChooseSilentRun();
  StartWithoutWizard();
}

// Whatever the reading did before an error stays done; the user then goes
// on through the wizard.
void TFMain::ContinueInterruptedRun() {
  try {
    context.choices.ChooseUserDefined();
    ReadContinuationFile();
    StartWithoutWizard();
  } catch (const std::exception& e) {
    context.ShowMessageDialog(e.what(), frame::MessageKind::Information);
    ShowWelcomePage();
  }
}

void TFMain::ReadContinuationFile() {
  platform::System& system = context.System();
  const std::string path = context.ContinuationPath();
  const auto bytes = system.ReadFileBytes(path);
  if (!bytes) throw release::AppError("Datei " + path + " kann nicht geöffnet werden");
  const frame::Continuation file = frame::ReadContinuation(*bytes);
  context.RunTotal = file.RunTotal;
  if (!system.RemoveFile(path)) {
    throw release::AppError("Datei " + path + " kann nicht gelöscht werden");
  }
  context.choices.Restore(file);
}

void TFMain::StartWithoutWizard() {
  context.forms.FKopieren->StartInstallationFrom(*this);
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

}  // namespace app
