// The hidden main form: created first, it loads what every page needs, owns
// the tray menu, and once the message loop runs takes one road: continue a
// run that a restart interrupted, install silently, or start the wizard.
#pragma once

#include <string>

#include "app/forms.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/words.h"
#include "tray/image_list.h"
#include "tray/tray_icon.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/timer.h"

namespace platform {
class Dialogs;
class System;
}  // namespace platform

namespace app {

class TFMain : public ui::Form {
 public:
  TFMain(ui::Application& app, platform::System& system, platform::Dialogs& dialogs);

 private:
  // First, so that the components below can use them.
  platform::System& system_;
  platform::Dialogs& dialogs_;

 public:
  tray::ImageList ILTrayIcons{*this, "ILTrayIcons", tray::ProgressPictures(system_)};
  tray::ImageList ILTrayIconsXP{*this, "ILTrayIconsXP", tray::ProgressPictures(system_)};
  ui::PopupMenu PopupMenu{*this, "PopupMenu"};
  ui::MenuItem MIWiederherstellen{PopupMenu, "MIWiederherstellen", "Wiederherstellen",
                                  ui::kDefaultItem};
  ui::MenuItem N1{PopupMenu, "N1", "-", ui::kSeparator};
  ui::MenuItem MIAbbrechen{PopupMenu, "MIAbbrechen", "Abbrechen"};
  tray::TCoolTrayIcon TrayIcon{*this, "TrayIcon", &ILTrayIcons, &PopupMenu, ui::kHidden};
  ui::Timer TStart{*this, "TStart", 1};

  // What the pages read; filled once by FormCreate.
  SetupSettings Settings;
  PackageTable Packages;
  WordTable Words;
  std::string CurrentOSIndex;
  int RunTotal = 0;
  bool Restarting = false;
  Forms forms;

  platform::System& System() const { return system_; }
  platform::Dialogs& Dialogs() const { return dialogs_; }

  // The program's folder + "Data\" + name.
  std::string DataPath(const std::string& name) const;
  // The continuation file beside the program.
  std::string ContinuationPath() const;

  void ShowMessageDialog(const std::string& text, MessageKind kind) const;
  bool AskQuestion(const std::string& text) const;

 private:
  void FormCreate();
  void TStartTimer();
  void MIWiederherstellenClick();
  void MIAbbrechenClick();

  void LoadStartupData();
  void StartSilentRun();
  void ContinueInterruptedRun();
  void ReadContinuationFile();
  void StartWithoutWizard();
  void ShowWelcomePage();
};

}  // namespace app
