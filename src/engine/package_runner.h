// Installs one package: the "{tmp}" folder, the command line, the check of
// the update records, then the installer process, hidden, waited for. Runs
// on the package's worker thread and touches no control.
#pragma once

#include <functional>
#include <string>

namespace platform {
class System;
}

namespace engine {

// Sets `skipped_as_installed` when the update records show the package as
// installed; a missing package or one the system cannot run starts nothing.
void RunPackage(platform::System& system, const std::string& path, const std::string& parameters,
                const std::string& os_index, bool& skipped_as_installed);

// The worker of one package.
struct TMyThread {
  std::string FilePath;
  std::string Parameters;

  // Runs RunPackage on a worker thread; `on_terminate` follows on the main thread.
  void Start(platform::System& system, const std::string& os_index, bool low_priority,
             bool& skipped_as_installed, std::function<void()> on_terminate) const;
};

}  // namespace engine
