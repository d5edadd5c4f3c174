// The hidden main form: created first, it loads what every page needs into
// the shared context it owns, owns the tray menu, and once the message loop
// runs takes one road: continue a run that a restart interrupted, install
// silently, or start the wizard. A local starter of a continuation takes
// none: it loads no release and starts the program of its release folder.
#pragma once

#include <exception>
#include <string>

#include "app/release_starter.h"
#include "frame/context.h"
#include "frame/install_lock.h"
#include "tray/image_list.h"
#include "tray/tray_icon.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/timer.h"

namespace app {

class TFMain : public ui::Form {
 public:
  TFMain(ui::Application& app, platform::System& system, frame::UnattendedDialogs& dialogs);

  // How long an unattended start waits for another installer to end.
  static constexpr int kInstallLockWaitMs = 2 * 60 * 60 * 1000;
  // How long an accepted restart may take to end the session before the
  // run takes it for vetoed: a program that refused before this one was
  // asked, or a package that said it restarts and did not, tells nobody.
  static constexpr unsigned kRestartWaitMs = 20 * 1000;

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
  ui::Timer TRestartWait{*this, "TRestartWait", kRestartWaitMs};
  // clang-format on
  frame::InstallLock Lock{*this, context.System(), context.Log(), context.Run()};
  ReleaseStarter Starter{*this, context};

 private:
  void FormCreate();
  void TStartTimer();
  void MIWiederherstellenClick();
  void MIAbbrechenClick();
  void ApplicationQueryEndSession(bool& may_end);
  void ApplicationSessionEndCancelled();
  void ApplicationSessionEnds();
  void ApplicationErrorText(const std::exception& e, std::string& text);
  void RunRestartStarted();
  void TRestartWaitTimer();
  // No restart happens now: the page that asked for it comes back.
  void TakeBackRestart();

  void LoadWords();
  void LoadStartupData();
  void StartSilentRun();
  void RunUnseenAsSilent();
  void LeaveRestartWhenUnseen();
  bool ContinueInterruptedRun();
  frame::Continuation ReadContinuationFile();
  frame::RunSoFar ReadRunSoFar();
  bool ContinuationUnchanged();
  void SetContinuationAside(const std::string& reason);
  void StartWithoutWizard();
  void InstallWithoutWizard();
  void GiveUpWaiting();
  void ShowWelcomePage();

  // Nobody sees this program's windows: it runs unattended, whatever its switches.
  bool unseen_ = false;
  // Why a continuation file was set aside, reported once the road is known.
  std::string unreadable_continuation_;
  // The continuation file as this run read it: the holder of the lock that
  // the run waited for may have been another copy continuing the same run.
  std::string continued_from_;
};

}  // namespace app
