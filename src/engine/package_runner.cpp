#include "engine/package_runner.h"

#include "app/errors.h"
#include "engine/package_command.h"
#include "platform/system.h"

namespace engine {

namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }

// Emptied, or made, before each package that uses it; never removed.
std::string PrepareTemporaryFolder(platform::System& system) {
  const std::string folder = system.ProgramFolder() + "data\\setuptemp";
  if (system.FolderExists(folder)) {
    system.ClearFolder(folder + "\\*.*");
  } else if (!system.CreateFolder(folder)) {
    throw app::AppError("Der Ordner " + folder + " kann nicht angelegt werden");
  }
  return folder;
}

}  // namespace

void RunPackage(platform::System& system, const std::string& path, const std::string& parameters,
                const std::string& os_index, bool& skipped_as_installed) {
  if (!system.FileExists(path)) return;
  std::string arguments = parameters;
  if (UsesTemporaryFolder(arguments)) {
    arguments = ReplaceTemporaryFolder(arguments, PrepareTemporaryFolder(system));
  }
  const std::string command = BuildCommandLine(
      path, arguments, os_index,
      {system.SystemProgram("msiexec.exe"), system.SystemProgram("wusa.exe")});
  const auto subkeys = [&](const std::string& key) { return system.MachineSubkeys(key); };
  if (RecordedAsInstalled(path, os_index, subkeys)) {
    skipped_as_installed = true;
    return;
  }
  if (!command.empty()) system.RunHiddenAndWait(command, FolderOf(path));
}

void TMyThread::Start(platform::System& system, const std::string& os_index, bool low_priority,
                      bool& skipped_as_installed, std::function<void()> on_terminate) const {
  system.StartWorker(
      [&system, path = FilePath, parameters = Parameters, os_index, &skipped_as_installed] {
        RunPackage(system, path, parameters, os_index, skipped_as_installed);
      },
      low_priority, std::move(on_terminate));
}

}  // namespace engine
