// What the pages and components share, owned by the hidden main form and
// handed to each of them: the release and the system as read at start-up, the
// run's counters and flags, the forms, the tray icon, the installation
// choices, and the services for messages and paths.
#pragma once

#include <string>

#include "frame/choices.h"
#include "frame/forms.h"
#include "frame/messages.h"
#include "release/os_identity.h"
#include "release/settings.h"
#include "release/words.h"

namespace platform {
class Dialogs;
class System;
}  // namespace platform
namespace tray {
class TCoolTrayIcon;
}
namespace ui {
class Application;
}

namespace frame {

class Context {
 public:
  Context(ui::Application& app, platform::System& system, platform::Dialogs& dialogs)
      : app_(app), system_(system), dialogs_(dialogs) {}
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  ui::Application& App() const { return app_; }
  platform::System& System() const { return system_; }
  platform::Dialogs& Dialogs() const { return dialogs_; }

  // Read once at start-up.
  release::SetupSettings Settings;
  release::PackageTable Packages;
  release::WordTable Words;
  release::OsIndex CurrentOSIndex = release::OsIndex::Unknown;

  // The package total of a run that spans restarts; 0 before the first run.
  int RunTotal = 0;
  // Set by the restart request: every page then closes without asking.
  bool Restarting = false;
  // The user cancelled the run, or its hand-over to a restart failed.
  bool CancelRequested = false;

  Forms forms;
  tray::TCoolTrayIcon* TrayIcon = nullptr;
  Choices choices{Packages};

  // The program's folder + "Data\" + name.
  std::string DataPath(const std::string& name) const;
  // The continuation file beside the program.
  std::string ContinuationPath() const;

  void ShowMessageDialog(const std::string& text, MessageKind kind) const;
  bool AskQuestion(const std::string& text) const;
  // Closes the hidden main form, which ends the program.
  void CloseProgram() const;

 private:
  ui::Application& app_;
  platform::System& system_;
  platform::Dialogs& dialogs_;
};

}  // namespace frame
