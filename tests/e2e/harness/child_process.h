// Native child processes of the test harness: each runs in its own process group so it can be
// stopped with everything it started, dies with the harness (parent-death signal), and is
// stopped by the harness's signal handlers when the test run is interrupted.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct SpawnOptions {
  std::vector<std::string> argv;  // argv[0] is an absolute path
  std::vector<std::string> env;   // complete environment, "NAME=value"
  std::string working_dir;        // empty: the harness's own
  std::string output_file;        // stdout and stderr are appended here; empty: /dev/null
  int inherited_fd = -1;          // one extra descriptor the child keeps (Xvfb's -displayfd)
  int stop_signal = SIGKILL;      // sent to the group by Stop() and on emergencies
  int death_signal = SIGKILL;     // sent to the child when the harness dies; 0: none
};

// How a finished child ended.
struct ExitStatus {
  int exit_code = -1;  // low 8 bits only: that is all Unix keeps
  int signal = 0;      // the signal that ended it, 0 if it exited
};

class ChildProcess {
 public:
  // Throws std::runtime_error when the program cannot be started.
  explicit ChildProcess(const SpawnOptions& options);
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ~ChildProcess();  // stops the group if still running

  pid_t pid() const { return pid_; }
  bool Running();
  // The status once ended, or nothing when the child is still running after `timeout`.
  std::optional<ExitStatus> WaitFor(std::chrono::milliseconds timeout);
  // Sends the stop signal to the whole group, waits a little, then SIGKILL.
  ExitStatus Stop();

 private:
  pid_t pid_ = -1;
  int stop_signal_ = SIGKILL;
  std::optional<ExitStatus> status_;
};

// Makes the harness inherit its orphaned descendants (Wine's service processes detach from
// their parent) so it can wait for them, and installs the SIGINT/SIGTERM/SIGHUP/SIGQUIT/
// SIGABRT handlers that stop every child group before the harness dies. Idempotent.
void InstallProcessGuards();

// A command the signal handlers run before killing the groups (wineserver -k for the
// harness's own prefix). Empty argv clears it.
void SetEmergencyCommand(const std::vector<std::string>& argv, const std::vector<std::string>& env);

// Starts a helper process that cleans up if the harness dies without doing so itself (SIGKILL,
// a crash): it runs `argv` with `env` (wineserver -k), then sends SIGTERM to the process group
// `group` (Xvfb). StopWatchdog() dismisses it; so do the signal handlers once they are done.
void StartWatchdog(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   pid_t group);
void StopWatchdog();

// Waits until the harness has no child processes left; kills stragglers after `timeout`.
// Returns false if any had to be killed.
bool WaitForNoChildren(std::chrono::milliseconds timeout);

// The absolute path of a program found on PATH, or empty.
std::string FindOnPath(const std::string& name);

}  // namespace e2e
