// Runs Windows programs under Wine for the end-to-end tests: a 64-bit prefix made once under
// the native build folder and reused, the harness's own Xvfb, and a persistent wineserver for
// the session. Everything it starts is stopped again, also when a test fails or the run is
// interrupted.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "harness/child_process.h"
#include "harness/virtual_display.h"
#include "harness/wine_paths.h"

namespace e2e {

struct RunOptions {
  std::chrono::milliseconds timeout{std::chrono::seconds(60)};
  // Linux path or Windows path ("C:\..."). Empty: the program's folder (for a bare name such
  // as "reg" or "msiexec": the harness's wine folder).
  std::string working_dir;
  std::map<std::string, std::string> env;  // added to, or overriding, the Wine environment
  bool capture_output = false;             // else stdout/stderr go to the session log
};

struct RunResult {
  int exit_code = -1;  // Unix keeps only the low 8 bits of a Windows exit code
  int signal = 0;      // set when the process was killed
  bool timed_out = false;
  std::string output;  // with RunOptions::capture_output
};

// A program started without waiting; stopped when the handle goes away.
class WineProgram {
 public:
  WineProgram(WineProgram&&) = default;
  ~WineProgram();

  bool Running() { return process_.Running(); }
  // timed_out is set (and the program left running) if it has not ended within `timeout`.
  RunResult Wait(std::chrono::milliseconds timeout);
  RunResult Kill();
  pid_t pid() const { return process_.pid(); }

 private:
  friend class WineSession;
  WineProgram(ChildProcess process, fs::path output_file);
  RunResult Result(const ExitStatus& status);

  ChildProcess process_;
  fs::path output_file_;
};

// The harness's wineserver program, for another prefix's server.
const char* WineServerProgram();

class WineSession {
 public:
  WineSession();  // may take ~15 s the first time, when the prefix is made
  ~WineSession();
  WineSession(const WineSession&) = delete;
  WineSession& operator=(const WineSession&) = delete;

  // `program`: a Linux path, a Windows path, or a name Wine finds itself ("reg").
  RunResult Run(const std::string& program, const std::vector<std::string>& args,
                const RunOptions& options = {});
  WineProgram Start(const std::string& program, const std::vector<std::string>& args,
                    const RunOptions& options = {});
  // A Linux program with the session's environment (DISPLAY...), e.g. xwininfo.
  RunResult RunNative(const std::vector<std::string>& argv, const RunOptions& options = {});
  // The whole screen as <native build>/screenshots/<name>.png; returns that path.
  fs::path Screenshot(const std::string& name);
  // Waits until no wineboot of this prefix runs. At the start of the server and at the end of
  // a session it runs the run-once values of HKLM (deleting each), and at the end of a session
  // it ends every process left, with status 0, also one started meanwhile: a test that then
  // starts a program or writes such a value would race with it. False when one still runs
  // after `timeout`.
  bool WaitForWineboot(std::chrono::milliseconds timeout);
  // The power fails and the machine starts again: every process of the prefix ends at once,
  // without a word (the server's `-k`, which keeps what the registry holds, as Windows keeps
  // a flushed hive), and a new server starts.
  void CutPower();

  const std::string& display() const { return display_->name(); }
  const fs::path& prefix() const { return prefix_; }
  fs::path windows_dir() const { return prefix_ / "drive_c" / "windows"; }  // C:\windows
  fs::path ToLinuxPath(const std::string& windows_path) const;
  std::map<std::string, std::string> Environment(
      const std::map<std::string, std::string>& extra = {}) const;

  void Stop();  // idempotent; the destructor calls it

 private:
  void LockPrefix();
  void CreatePrefix();
  void AddSetting(const std::string& key, const std::string& name, const std::string& value);
  void StartServer();
  void StopServer();
  const char* LoaderFor(const std::string& program) const;
  std::string WorkingDirFor(const std::string& program, const RunOptions& options) const;
  fs::path OutputFileFor(const RunOptions& options);
  SpawnOptions Spawn(std::vector<std::string> argv, const RunOptions& options,
                     const std::string& working_dir, const fs::path& output);

  fs::path wine_dir_;
  fs::path prefix_;
  fs::path log_file_;
  int lock_fd_ = -1;
  std::optional<VirtualDisplay> display_;
  std::optional<ChildProcess> server_;
  int output_counter_ = 0;
  bool stopped_ = false;
};

}  // namespace e2e
