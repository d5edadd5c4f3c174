#include "harness/child_process.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <thread>

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

// --- What the signal handlers need, kept in plain atomics ---------------------------------

constexpr int kMaxGroups = 256;
std::atomic<pid_t> g_groups[kMaxGroups];
std::atomic<int> g_group_signals[kMaxGroups];

struct EmergencyCommand {
  std::vector<std::string> strings;
  std::vector<char*> argv;
  std::vector<char*> envp;
};
std::atomic<EmergencyCommand*> g_emergency{nullptr};
volatile sig_atomic_t g_stopping = 0;
std::atomic<int> g_watchdog_fd{-1};
pid_t g_watchdog_pid = -1;

void RegisterGroup(pid_t pid, int stop_signal) {
  for (int i = 0; i < kMaxGroups; ++i) {
    pid_t expected = 0;
    if (g_groups[i].compare_exchange_strong(expected, pid)) {
      g_group_signals[i] = stop_signal;
      return;
    }
  }
  kill(-pid, SIGKILL);
  throw std::runtime_error("too many child processes at once");
}

void UnregisterGroup(pid_t pid) {
  for (auto& group : g_groups) {
    pid_t expected = pid;
    if (group.compare_exchange_strong(expected, 0)) return;
  }
}

void SleepBriefly() {
  timespec pause{0, 10 * 1000 * 1000};
  nanosleep(&pause, nullptr);
}

// Async-signal-safe: fork, execve, waitpid, kill, nanosleep only.
void RunCommandAndWait(const EmergencyCommand* command) {
  if (!command) return;
  pid_t pid = fork();
  if (pid == 0) {
    int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, 1);
    dup2(null_fd, 2);
    execve(command->argv[0], command->argv.data(), command->envp.data());
    _exit(127);
  }
  if (pid < 0) return;
  for (int i = 0; i < 500 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) SleepBriefly();
}

void RunEmergencyCommand() {
  RunCommandAndWait(g_emergency.load());
}

void DismissWatchdog() {
  int fd = g_watchdog_fd.exchange(-1);
  if (fd < 0) return;
  (void)!write(fd, "q", 1);
  close(fd);
}

void SignalAllGroups(bool force) {
  for (int i = 0; i < kMaxGroups; ++i) {
    pid_t pid = g_groups[i].load();
    if (pid > 0) kill(-pid, force ? SIGKILL : g_group_signals[i].load());
  }
}

// Reaps whatever ended within about `tenths` tenths of a second; true when no child is left.
bool ReapForAWhile(int tenths) {
  for (int i = 0; i < tenths * 10; ++i) {
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    if (waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD) return true;
    SleepBriefly();
  }
  return false;
}

void OnFatalSignal(int signal_number) {
  if (!g_stopping) {
    g_stopping = 1;
    DismissWatchdog();  // this handler does its job
    RunEmergencyCommand();
    SignalAllGroups(false);
    if (!ReapForAWhile(30)) SignalAllGroups(true);
  }
  ::signal(signal_number, SIG_DFL);
  raise(signal_number);
}

// Blocks the termination signals around a fork: a child must never run the harness's handler
// (it would stop every group) in the moment before it execs or resets them.
const int kTerminationSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

class TerminationBlocked {
 public:
  TerminationBlocked() {
    sigset_t block;
    sigemptyset(&block);
    for (int s : kTerminationSignals) sigaddset(&block, s);
    sigprocmask(SIG_BLOCK, &block, &old_);
  }
  ~TerminationBlocked() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
  // In the forked child: default dispositions first, then whatever was pending may arrive.
  void RestoreDefaultsInChild() const {
    for (int s : kTerminationSignals) ::signal(s, SIG_DFL);
    ::signal(SIGABRT, SIG_DFL);
    ::signal(SIGPIPE, SIG_DFL);
    sigprocmask(SIG_SETMASK, &old_, nullptr);
  }

 private:
  sigset_t old_;
};

// --- Bookkeeping of ended children ------------------------------------------------------------

// The harness reaps every child (including adopted orphans) in one place, so a wait for one
// child never steals the status of another.
std::map<pid_t, int>& Tracked() {
  static std::map<pid_t, int> tracked;  // pid -> wait status, -1 while running
  return tracked;
}

void ReapAll() {
  int status = 0;
  pid_t pid;
  while ((pid = waitpid(-1, &status, WNOHANG)) > 0) {
    auto found = Tracked().find(pid);
    if (found != Tracked().end()) found->second = status;
  }
}

std::optional<ExitStatus> TakeStatus(pid_t pid) {
  ReapAll();
  auto found = Tracked().find(pid);
  if (found == Tracked().end() || found->second == -1) return std::nullopt;
  int status = found->second;
  Tracked().erase(found);
  UnregisterGroup(pid);
  ExitStatus result;
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (auto& s : strings) pointers.push_back(&s[0]);
  pointers.push_back(nullptr);
  return pointers;
}

// In the forked child: only async-signal-safe calls until execve.
[[noreturn]] void ExecChild(const SpawnOptions& options, char* const* argv, char* const* envp,
                            pid_t parent, int error_pipe, const TerminationBlocked& blocked) {
  setpgid(0, 0);
  if (options.death_signal) {
    prctl(PR_SET_PDEATHSIG, options.death_signal);
    if (getppid() != parent) _exit(127);  // the harness died before prctl took effect
  }
  blocked.RestoreDefaultsInChild();
  int out = open(options.output_file.empty() ? "/dev/null" : options.output_file.c_str(),
                 O_WRONLY | O_CREAT | O_APPEND, 0644);
  int in = open("/dev/null", O_RDONLY);
  if (out < 0 || in < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0) {
    int error = errno;
    (void)!write(error_pipe, &error, sizeof error);
    _exit(127);
  }
  if (options.inherited_fd >= 0) fcntl(options.inherited_fd, F_SETFD, 0);
  if (!options.working_dir.empty() && chdir(options.working_dir.c_str()) != 0) {
    int error = errno;
    (void)!write(error_pipe, &error, sizeof error);
    _exit(127);
  }
  execve(argv[0], argv, envp);
  int error = errno;
  (void)!write(error_pipe, &error, sizeof error);
  _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const SpawnOptions& options) : stop_signal_(options.stop_signal) {
  if (options.argv.empty()) throw std::invalid_argument("no program to start");
  std::vector<std::string> args = options.argv;
  std::vector<std::string> env = options.env;
  std::vector<char*> argv = Pointers(args);
  std::vector<char*> envp = Pointers(env);
  int error_pipe[2];
  if (pipe2(error_pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  pid_t parent = getpid();
  pid_t pid;
  {
    TerminationBlocked blocked;
    pid = fork();
    if (pid == 0) ExecChild(options, argv.data(), envp.data(), parent, error_pipe[1], blocked);
    if (pid > 0) {
      setpgid(pid, pid);  // also here, so the group exists before anyone signals it
      Tracked()[pid] = -1;
      pid_ = pid;
    }
  }
  close(error_pipe[1]);
  if (pid < 0) {
    close(error_pipe[0]);
    throw std::runtime_error("fork failed: " + std::string(std::strerror(errno)));
  }
  int child_error = 0;
  ssize_t got;
  do got = read(error_pipe[0], &child_error, sizeof child_error);
  while (got < 0 && errno == EINTR);
  close(error_pipe[0]);
  if (got > 0) {
    WaitFor(std::chrono::seconds(5));
    throw std::runtime_error("cannot start " + options.argv[0] + " (in '" + options.working_dir +
                             "'): " + std::strerror(child_error));
  }
  RegisterGroup(pid, stop_signal_);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(other.pid_), stop_signal_(other.stop_signal_), status_(other.status_) {
  other.pid_ = -1;
}

ChildProcess::~ChildProcess() {
  try {
    if (pid_ > 0 && !status_) Stop();
  } catch (const std::exception&) {
    // Nothing more to do; the session's final sweep kills what is left.
  }
}

bool ChildProcess::Running() {
  return !WaitFor(std::chrono::milliseconds(0));
}

std::optional<ExitStatus> ChildProcess::WaitFor(std::chrono::milliseconds timeout) {
  if (status_ || pid_ <= 0) return status_;
  auto deadline = Clock::now() + timeout;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    status_ = TakeStatus(pid_);
    if (status_ || Clock::now() >= deadline) return status_;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
}

ExitStatus ChildProcess::Stop() {
  if (pid_ <= 0) return {};
  if (WaitFor(std::chrono::milliseconds(0))) return *status_;
  kill(-pid_, stop_signal_);
  if (stop_signal_ != SIGKILL && WaitFor(std::chrono::seconds(5))) return *status_;
  kill(-pid_, SIGKILL);
  if (!WaitFor(std::chrono::seconds(10)))
    throw std::runtime_error("process " + std::to_string(pid_) + " survives SIGKILL");
  return *status_;
}

void InstallProcessGuards() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  struct sigaction action {};
  action.sa_handler = OnFatalSignal;
  sigemptyset(&action.sa_mask);
  for (int s : kTerminationSignals) sigaddset(&action.sa_mask, s);
  for (int s : kTerminationSignals) sigaction(s, &action, nullptr);
  sigaction(SIGABRT, &action, nullptr);
}

namespace {

EmergencyCommand* MakeCommand(const std::vector<std::string>& argv,
                              const std::vector<std::string>& env) {
  if (argv.empty()) return nullptr;
  auto* command = new EmergencyCommand;
  command->strings = argv;
  command->strings.insert(command->strings.end(), env.begin(), env.end());
  for (size_t i = 0; i < command->strings.size(); ++i) {
    auto& list = i < argv.size() ? command->argv : command->envp;
    list.push_back(&command->strings[i][0]);
  }
  command->argv.push_back(nullptr);
  command->envp.push_back(nullptr);
  return command;
}

// The forked watchdog: waits for a word or for the harness's end of the pipe to close.
[[noreturn]] void WatchOver(int fd, const EmergencyCommand* command, pid_t group,
                            const TerminationBlocked& blocked) {
  setpgid(0, 0);  // out of the terminal's reach: Ctrl-C is for the harness to handle
  blocked.RestoreDefaultsInChild();
  int null_fd = open("/dev/null", O_RDWR);
  dup2(null_fd, 0);
  dup2(null_fd, 1);
  dup2(null_fd, 2);
  closefrom(3 > fd ? 3 : fd + 1);
  for (int other = 3; other < fd; ++other) close(other);
  char word = 0;
  ssize_t got;
  do got = read(fd, &word, 1);
  while (got < 0 && errno == EINTR);
  if (got == 1) _exit(0);  // dismissed
  RunCommandAndWait(command);
  kill(-group, SIGTERM);
  _exit(0);
}

}  // namespace

void SetEmergencyCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& env) {
  // The old one may be in use by a handler right now; a few bytes leaked per session is fine.
  g_emergency.store(MakeCommand(argv, env));
}

void StartWatchdog(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   pid_t group) {
  StopWatchdog();
  std::unique_ptr<EmergencyCommand> command(MakeCommand(argv, env));
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  pid_t pid;
  {
    TerminationBlocked blocked;
    pid = fork();
    if (pid == 0) WatchOver(fds[0], command.get(), group, blocked);
  }
  close(fds[0]);
  if (pid < 0) {
    close(fds[1]);
    throw std::runtime_error("fork failed: " + std::string(std::strerror(errno)));
  }
  Tracked()[pid] = -1;
  g_watchdog_pid = pid;
  g_watchdog_fd = fds[1];
}

void StopWatchdog() {
  DismissWatchdog();
  if (g_watchdog_pid < 0) return;
  for (int i = 0; i < 500 && !TakeStatus(g_watchdog_pid); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  g_watchdog_pid = -1;
}

namespace {

std::vector<pid_t> ChildrenOfThisProcess() {
  std::vector<pid_t> children;
  DIR* proc = opendir("/proc");
  if (!proc) return children;
  std::string self = std::to_string(getpid());
  while (dirent* entry = readdir(proc)) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
    std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
    std::string line;
    std::getline(stat, line);
    size_t close_paren = line.rfind(')');  // the name may hold blanks and parentheses
    if (close_paren == std::string::npos) continue;
    char state;
    long ppid = 0;
    if (sscanf(line.c_str() + close_paren + 1, " %c %ld", &state, &ppid) == 2 &&
        std::to_string(ppid) == self)
      children.push_back(std::atoi(entry->d_name));
  }
  closedir(proc);
  return children;
}

bool NoChildren() {
  ReapAll();
  siginfo_t info{};
  // WNOWAIT: only look; a status that arrives meanwhile stays for ReapAll.
  return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
}

}  // namespace

bool WaitForNoChildren(std::chrono::milliseconds timeout) {
  auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    if (NoChildren()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  for (pid_t child : ChildrenOfThisProcess()) kill(child, SIGKILL);
  for (int i = 0; i < 500 && !NoChildren(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return false;
}

std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string candidate = folders.substr(start, end - start) + "/" + name;
    if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

}  // namespace e2e
