#include "harness/other_machine.h"

#include <fstream>
#include <stdexcept>

namespace e2e {
namespace {

const char kReadyMarker[] = ".e2e-machine-ready-1";

}  // namespace

// The harness's prefix lock covers this prefix too: it lives in the same folder.
OtherMachine::OtherMachine(WineSession& wine, const std::string& computer_name)
    : wine_(wine),
      computer_name_(computer_name),
      prefix_(wine.prefix().parent_path() / ("machine-" + computer_name)) {
  env_ = {{"WINEPREFIX", prefix_.string()}};
  if (!fs::exists(prefix_ / kReadyMarker)) CreatePrefix();
  RunOptions options;
  options.env = env_;
  Require(wine_.RunNative({WineServerProgram(), "-p"}, options), "wineserver -p");
  // Wine takes the name from the host at each start of the server and keeps it in a volatile
  // key, which lives as long as the server.
  Require(Run("reg", {"add",
                      "HKLM\\System\\CurrentControlSet\\Control\\ComputerName\\"
                      "ActiveComputerName",
                      "/v", "ComputerName", "/d", computer_name_, "/f"}),
          "reg add ActiveComputerName");
}

OtherMachine::~OtherMachine() {
  RunOptions options;
  options.env = env_;
  wine_.RunNative({WineServerProgram(), "-k"}, options);
}

void OtherMachine::CreatePrefix() {
  fs::remove_all(prefix_);
  fs::create_directories(prefix_);
  RunOptions slow;
  slow.env = env_;
  slow.timeout = std::chrono::minutes(3);
  Require(wine_.Run("wineboot", {"-i"}, slow), "wineboot -i");
  // Without a window manager every hide or destroy would wait ~2 s unless windows are unmanaged.
  Require(Run("reg", {"add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/d", "N", "/f"}),
          "reg add Managed");
  Require(Run("reg", {"add", "HKCU\\Software\\Wine\\Drivers", "/v", "Audio", "/d", "", "/f"}),
          "reg add Audio");
  RunOptions options;
  options.env = env_;
  wine_.RunNative({WineServerProgram(), "-k"}, options);  // writes the registry out
  std::ofstream(prefix_ / kReadyMarker) << "made by the e2e test harness\n";
}

RunResult OtherMachine::Run(const std::string& program, const std::vector<std::string>& args) {
  RunOptions options;
  options.env = env_;
  return wine_.Run(program, args, options);
}

WineProgram OtherMachine::Start(const std::string& program, const std::vector<std::string>& args) {
  RunOptions options;
  options.env = env_;
  return wine_.Start(program, args, options);
}

fs::path OtherMachine::ToLinuxPath(const std::string& windows_path) const {
  return e2e::ToLinuxPath(windows_path, prefix_);
}

void OtherMachine::Require(const RunResult& result, const std::string& what) {
  if (result.exit_code == 0 && !result.timed_out) return;
  throw std::runtime_error("machine " + computer_name_ + ": " + what +
                           (result.timed_out
                                ? " timed out"
                                : " failed with exit code " + std::to_string(result.exit_code)));
}

}  // namespace e2e
