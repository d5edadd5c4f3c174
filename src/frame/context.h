// What the pages and components share, owned by the hidden main form and
// handed to each of them: the release and the system as read at start-up, the
// run's state, the forms, the tray icon, the installation
// choices, and the services for messages and paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/choices.h"
#include "frame/detection.h"
#include "frame/forms.h"
#include "frame/messages.h"
#include "frame/own_folder.h"
#include "frame/run_state.h"
#include "frame/start_options.h"
#include "frame/unattended_dialogs.h"
#include "release/os_identity.h"
#include "release/settings.h"
#include "release/words.h"

namespace platform {
class System;
}
namespace tray {
class TCoolTrayIcon;
}
namespace ui {
class Application;
}

namespace frame {

class InstallLock;

class Context {
 public:
  Context(ui::Application& app, platform::System& system, UnattendedDialogs& dialogs)
      : app_(app), system_(system), dialogs_(dialogs) {}
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  ui::Application& App() const { return app_; }
  platform::System& System() const { return system_; }
  platform::Dialogs& Dialogs() const { return dialogs_; }

  // Read once at start-up.
  StartOptions Switches;
  release::SetupSettings Settings;
  release::PackageTable Packages;
  release::WordTable Words;
  release::OsIndex CurrentOSIndex = release::OsIndex::Unknown;

  // What the run went through, and its exit code.
  RunState& Run() { return run_; }
  const RunState& Run() const { return run_; }

  Forms forms;
  tray::TCoolTrayIcon* TrayIcon = nullptr;
  // One installer at a time; the hidden main form owns it.
  InstallLock* Lock = nullptr;
  Choices choices{Packages};
  // Which packages are installed already, by their Detect= rules.
  Detection detection{Packages, choices};

  // The program's folder + "Data\" + name.
  std::string DataPath(const std::string& name) const;

  // Where the continuation file and the temporary folder live: the program's
  // folder, or a folder of the release under the machine's program data
  // when the program's folder can't be written.
  const std::string& StateFolder() const { return state_folder_; }
  // The program's own folder under the machine's program data.
  OwnFolder& ProgramDataFolder() { return own_folder_; }
  void SetStateFolder(std::string folder) { state_folder_ = std::move(folder); }
  std::string ContinuationPath() const;
  // Beside it: the failures of the run before the restart.
  std::string FailuresPath() const { return ContinuationPath() + kFailuresFileSuffix; }
  // Beside it: how often each package was started.
  std::string AttemptsPath() const { return ContinuationPath() + kAttemptsFileSuffix; }
  // Beside it: how many packages were found installed.
  std::string FoundInstalledPath() const { return ContinuationPath() + kFoundInstalledFileSuffix; }
  // Beside it: where the run's record is.
  std::string RecordPath() const { return ContinuationPath() + kRecordFileSuffix; }
  // Beside it: the computer whose run it is.
  std::string ComputerPath() const { return ContinuationPath() + kComputerFileSuffix; }
  // Beside it: the packages that do not apply to the system.
  std::string NotApplicablePath() const { return ContinuationPath() + kNotApplicableFileSuffix; }
  // Beside it: the run restarted for a restart that Windows waited for.
  std::string PendingRestartPath() const { return ContinuationPath() + kPendingRestartFileSuffix; }
  // Beside it: the logons at which the local starter waited for the release folder.
  std::string LogonsPath() const { return ContinuationPath() + kLogonsFileSuffix; }
  // The files beside the continuation file go with it.
  void RemoveFilesBesideContinuation() const;
  // The folder for "{tmp}".
  std::string TemporaryFolder() const;

  // Nobody watches the run: messages go to the install log, not on screen.
  bool Unattended() const { return dialogs_.Unattended(); }
  void SetUnattended(bool unattended) { dialogs_.SetUnattended(unattended); }
  InstallLog& Log() const { return dialogs_.Log(); }

  void ShowMessageDialog(const std::string& text, MessageKind kind) const;
  // The question dialog with the answers "&Ja" and "&Nein", or the words
  // `yes` and `no`; true only for `yes`.
  bool AskQuestion(const std::string& text, release::WordNumber yes = release::kWordYes,
                   release::WordNumber no = release::kWordNo) const;
  // Closes the hidden main form, which ends the program with the run's exit
  // code.
  void CloseProgram() const;
  // An unattended run ends by itself where a watched one would wait for a
  // person: the log says why, and the program ends with the run's exit code.
  // A watched run goes on.
  void EndIfUnattended(const std::string& why) const;

 private:
  ui::Application& app_;
  platform::System& system_;
  UnattendedDialogs& dialogs_;
  OwnFolder own_folder_{system_, dialogs_.Log()};
  std::string state_folder_;
  RunState run_;
};

}  // namespace frame
