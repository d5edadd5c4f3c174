// The hidden main form: created first, it loads what every page needs into
// the shared context it owns, owns the tray menu, and once the message loop
// runs takes one road: continue a run that a restart interrupted, install
// silently, or start the wizard.
#pragma once

#include <string>

#include "frame/context.h"
#include "tray/image_list.h"
#include "tray/tray_icon.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/timer.h"

namespace app {

class TFMain : public ui::Form {
 public:
  TFMain(ui::Application& app, platform::System& system, platform::Dialogs& dialogs);

  // First, so that the components below can use it; what the pages share.
  frame::Context context;

  // clang-format off
  tray::ImageList ILTrayIcons{*this, "ILTrayIcons", tray::ProgressPictures(context.System())};
  tray::ImageList ILTrayIconsXP{*this, "ILTrayIconsXP",
                                tray::ProgressPictures(context.System())};
  ui::PopupMenu PopupMenu{*this, "PopupMenu"};
  ui::MenuItem MIWiederherstellen{PopupMenu, "MIWiederherstellen", "Wiederherstellen",
                                  ui::kDefaultItem};
  ui::MenuItem N1{PopupMenu, "N1", "-", ui::kSeparator};
  ui::MenuItem MIAbbrechen{PopupMenu, "MIAbbrechen", "Abbrechen"};
  tray::TCoolTrayIcon TrayIcon{*this, "TrayIcon", &ILTrayIcons, &PopupMenu, ui::kHidden};
  ui::Timer TStart{*this, "TStart", 1};
  // clang-format on

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
