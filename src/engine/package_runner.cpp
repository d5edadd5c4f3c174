#include "engine/package_runner.h"

#include <memory>

#include "engine/package_command.h"
#include "platform/system.h"
#include "release/errors.h"

namespace engine {

namespace {

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.rfind('\\') + 1);
}

// Emptied, or made, before each package that uses it; never removed.
void PrepareTemporaryFolder(platform::System& system, const std::string& folder) {
  if (system.FolderExists(folder)) {
    system.ClearFolder(folder + "\\*.*");
  } else if (!system.CreateFolder(folder)) {
    throw release::AppError("Der Ordner " + folder + " kann nicht angelegt werden");
  }
}

}  // namespace

PackageOutcome RunPackage(platform::System& system, const std::string& path,
                          const std::string& parameters, const std::string& temporary_folder,
                          release::OsIndex os) {
  if (!system.FileExists(path)) {
    return {PackageState::NotStarted, false, 0, "Die Datei " + path + " fehlt."};
  }
  std::string arguments = parameters;
  if (UsesTemporaryFolder(arguments)) {
    PrepareTemporaryFolder(system, temporary_folder);
    arguments = ReplaceTemporaryFolder(arguments, temporary_folder);
  }
  const std::string command = BuildCommandLine(
      path, arguments, os, {system.SystemProgram("msiexec.exe"), system.SystemProgram("wusa.exe")});
  const auto subkeys = [&](const std::string& key) { return system.MachineSubkeys(key); };
  if (RecordedAsInstalled(path, os, subkeys)) return {PackageState::AlreadyInstalled, false, 0, {}};
  if (command.empty()) {
    return {PackageState::NotStarted, false, 0,
            "Für diese Art von Datei gibt es auf diesem System kein Installationsprogramm."};
  }
  const platform::ProcessResult process = system.RunHiddenAndWait(command, FolderOf(path));
  if (!process.started) return {PackageState::NotStarted, false, 0, process.error};
  return {ClassifyExitCode(process.exit_code), true, process.exit_code, {}};
}

// The outcome is written by the worker and read on the main thread only
// after the worker has ended.
void TMyThread::Start(platform::System& system, release::OsIndex os, bool low_priority,
                      std::function<void(const PackageOutcome&)> on_terminate) const {
  auto outcome = std::make_shared<PackageOutcome>();
  system.StartWorker(
      [&system, outcome, path = FilePath, parameters = Parameters, folder = TemporaryFolder, os] {
        try {
          *outcome = RunPackage(system, path, parameters, folder, os);
        } catch (const std::exception& e) {
          outcome->reason = e.what();  // the "{tmp}" folder could not be made: nothing started
        }
      },
      low_priority, [outcome, on_terminate = std::move(on_terminate)] { on_terminate(*outcome); });
}

}  // namespace engine
