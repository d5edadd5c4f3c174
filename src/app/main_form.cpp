#include "app/main_form.h"

#include <array>

#include "app/errors.h"
#include "app/integer_text.h"
#include "app/ini_file.h"
#include "app/os_identity.h"
#include "app/text_lines.h"
#include "engine/install_page.h"
#include "platform/dialogs.h"
#include "platform/system.h"
#include "ui/application.h"
#include "wizard/advanced_page.h"
#include "wizard/method_page.h"
#include "wizard/welcome_page.h"

namespace app {

namespace {

constexpr int kMaxContinuationItems = 1000;

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

TFMain::TFMain(ui::Application& app, platform::System& system, platform::Dialogs& dialogs)
    : ui::Form(app, "TFMain", {192, 106, 213, 75}, "FMain", {}),
      system_(system),
      dialogs_(dialogs) {
  forms.FMain = this;
  OnCreate.Bind(this, &TFMain::FormCreate);
  TStart.OnTimer.Bind(this, &TFMain::TStartTimer);
  MIWiederherstellen.OnClick.Bind(this, &TFMain::MIWiederherstellenClick);
  MIAbbrechen.OnClick.Bind(this, &TFMain::MIAbbrechenClick);
}

std::string TFMain::DataPath(const std::string& name) const {
  return system_.ProgramFolder() + "Data\\" + name;
}

std::string TFMain::ContinuationPath() const { return system_.ProgramFolder() + "rir_eridivu"; }

void TFMain::ShowMessageDialog(const std::string& text, MessageKind kind) const {
  app::ShowMessageDialog(system_, dialogs_, text, kind);
}

bool TFMain::AskQuestion(const std::string& text) const {
  return app::AskQuestion(system_, dialogs_, text);
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
  CurrentOSIndex = std::to_string(IdentifyOS(system_.QueryOsVersion()));
  Words = LoadWords(IniFile::Load(system_, DataPath("Language.ini")));
  const IniFile settings = IniFile::Load(system_, DataPath("Settings.ini"));
  Settings = LoadSettings(settings);
  App().HideApplicationButton();
  LoadPackageTable(settings, Settings.Files, Packages);
  App().SetTitle(Settings.Name);
  ILTrayIconsXP.Clear();
  ILTrayIconsXP.Add(system_.ProgramIcon());
  // From Windows XP on the tray shows the program's own icon.
  if (StrToInt(CurrentOSIndex) > 5) TrayIcon.SetIconList(&ILTrayIconsXP);
  TStart.SetEnabled(true);
  MIWiederherstellen.SetCaption(Words[70]);
  MIAbbrechen.SetCaption(Words[5]);
}

// The start decision needs every form. An error report shown while the
// later forms are created runs a message loop in which the timer fires
// early; it then fires again once they exist.
void TFMain::TStartTimer() {
  if (!forms.Complete()) return;
  TStart.SetEnabled(false);
  if (system_.FileExists(ContinuationPath())) {
    ContinueInterruptedRun();
    return;
  }
  const auto arguments = system_.Arguments();
  if (!arguments.empty() && Trimmed(arguments[0]) == "/silent") {
    StartSilentRun();
  } else {
    ShowWelcomePage();
  }
}

void TFMain::StartSilentRun() {
  forms.FErweitert->CBAutoReboot.SetChecked(true);
  forms.FMethode->CBAdvancedInstall.SetChecked(true);
  StartWithoutWizard();
}

// Whatever the reading did before an error stays done; the user then goes
// on through the wizard.
void TFMain::ContinueInterruptedRun() {
  try {
    forms.FMethode->CBAdvancedInstall.SetChecked(true);
    ReadContinuationFile();
    StartWithoutWizard();
  } catch (const std::exception& e) {
    ShowMessageDialog(e.what(), MessageKind::Information);
    ShowWelcomePage();
  }
}

void TFMain::ReadContinuationFile() {
  const std::string path = ContinuationPath();
  const auto bytes = system_.ReadFileBytes(path);
  if (!bytes) throw AppError("Datei " + path + " kann nicht geöffnet werden");
  TextLines lines(*bytes);
  RunTotal = StrToInt(lines.Next());

  wizard::TFErweitert& advanced = *forms.FErweitert;
  for (ui::CheckBox* option : {&advanced.CBAutoReboot, &advanced.CBMinimieren,
                               &advanced.CBLoescheLogs, &advanced.CBNiedrigePrioritaet}) {
    option->SetChecked(lines.Next() == "1");
  }
  std::vector<std::string> items;
  while (!lines.AtEnd()) {
    if (items.size() == kMaxContinuationItems) throw RangeError();
    items.push_back(lines.Next());
  }
  if (!system_.RemoveFile(path)) throw AppError("Datei " + path + " kann nicht gelöscht werden");

  ui::ListView& list = advanced.LVDateien;
  const int files = StrToInt(Settings.Files);
  for (int k = 0; k < files; ++k) list.SetItemChecked(k, false);
  for (const std::string& item : items) list.SetItemChecked(StrToInt(item), true);
}

void TFMain::StartWithoutWizard() {
  PlacePage(*this, *forms.FKopieren);
  forms.FKopieren->StartInstallation();
  Hide();
}

void TFMain::ShowWelcomePage() { forms.FWillkommen->Show(); }

void TFMain::MIWiederherstellenClick() { forms.FKopieren->RestoreFromTray(); }

void TFMain::MIAbbrechenClick() { forms.FKopieren->BAbbrechen.Click(); }

}  // namespace app
