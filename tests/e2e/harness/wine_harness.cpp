#include "harness/wine_harness.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace e2e {
namespace {

// The NUL-separated strings of /proc/<pid>/<name>; empty when the process is gone.
std::vector<std::string> ProcStrings(const fs::path& process, const char* name) {
  std::ifstream in(process / name, std::ios::binary);
  std::vector<std::string> strings;
  std::string item;
  while (std::getline(in, item, '\0')) strings.push_back(item);
  return strings;
}

bool IsWinebootOf(const fs::path& process, const fs::path& prefix) {
  const std::vector<std::string> args = ProcStrings(process, "cmdline");
  if (args.empty() || args[0].find("wineboot") == std::string::npos) return false;
  const std::string own = "WINEPREFIX=" + prefix.string();
  for (const std::string& variable : ProcStrings(process, "environ"))
    if (variable == own) return true;
  return false;
}

const char kWineLoader[] = "/usr/lib/wine/wine64";
const char kWineLoader32[] = "/usr/lib/wine/wine";  // Debian's wine32:i386
const char kWineServer[] = "/usr/lib/wine/wineserver64";
const char kFontFolder[] = "/usr/share/wine/fonts";
// Named after the set-up it stands for: a changed set-up makes the prefix anew.
const char kReadyMarker[] = ".e2e-prefix-ready-2";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

bool IsWindowsPath(const std::string& path) {
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

// The last lines Wine wrote, so that a failure on a machine nobody can look at tells why.
std::string TailOf(const fs::path& log, size_t lines) {
  const std::string text = ReadFile(log);
  size_t start = text.size();
  for (size_t count = 0; start > 0 && count <= lines; --start)
    if (text[start - 1] == '\n') ++count;
  return text.substr(start);
}

void Require(const RunResult& result, const std::string& what, const fs::path& log) {
  if (result.exit_code == 0 && !result.timed_out) return;
  throw std::runtime_error(what +
                           (result.timed_out
                                ? " timed out"
                                : " failed with exit code " + std::to_string(result.exit_code)) +
                           "; the end of " + log.string() + ":\n" + TailOf(log, 15));
}

// The folders where wineserver keeps the socket of a prefix: <tmp>/server-<device>-<inode>,
// where Debian's Wine makes <tmp> as /tmp/wine-XXXXXX (upstream: /tmp/.wine-<uid>).
std::vector<fs::path> ServerFolders(const fs::path& prefix) {
  std::vector<fs::path> folders;
  struct stat info {};
  if (stat(prefix.c_str(), &info) != 0) return folders;
  char name[64];
  std::snprintf(name, sizeof name, "server-%llx-%llx", static_cast<unsigned long long>(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/tmp", error)) {
    std::string tmp = entry.path().filename().string();
    if ((tmp.rfind("wine-", 0) == 0 || tmp.rfind(".wine-", 0) == 0) &&
        fs::is_directory(entry.path() / name, error))
      folders.push_back(entry.path() / name);
  }
  return folders;
}

bool ServerListens(const fs::path& prefix) {
  for (const fs::path& folder : ServerFolders(prefix))
    if (fs::exists(folder / "socket")) return true;
  return false;
}

// A prefix that is made again gets a new inode; its old server folders would stay forever.
void RemoveServerFolders(const fs::path& prefix) {
  std::error_code ignored;
  for (const fs::path& folder : ServerFolders(prefix)) {
    fs::remove_all(folder, ignored);
    fs::remove(folder.parent_path(), ignored);  // only if now empty
  }
}

}  // namespace

const char* WineServerProgram() {
  return kWineServer;
}

// --- WineProgram ------------------------------------------------------------------------------

WineProgram::WineProgram(ChildProcess process, fs::path output_file)
    : process_(std::move(process)), output_file_(std::move(output_file)) {}

WineProgram::~WineProgram() {
  if (!output_file_.empty()) {
    std::error_code ignored;
    fs::remove(output_file_, ignored);
  }
}

RunResult WineProgram::Wait(std::chrono::milliseconds timeout) {
  std::optional<ExitStatus> status = process_.WaitFor(timeout);
  if (!status) {
    RunResult result;
    result.timed_out = true;
    return result;
  }
  return Result(*status);
}

RunResult WineProgram::Kill() {
  return Result(process_.Stop());
}

RunResult WineProgram::Result(const ExitStatus& status) {
  RunResult result;
  result.exit_code = status.exit_code;
  result.signal = status.signal;
  if (!output_file_.empty()) result.output = ReadFile(output_file_);
  return result;
}

// --- WineSession ------------------------------------------------------------------------------

WineSession::WineSession()
    : wine_dir_(RunFolder("wine")),
      prefix_(wine_dir_ / "prefix"),
      log_file_(wine_dir_ / "session.log") {
  InstallProcessGuards();
  // Without ~/.local/share the shell deletes for good instead of using the trash.
  fs::create_directories(wine_dir_ / "home" / ".local" / "share");
  LockPrefix();
  try {
    std::ofstream(log_file_, std::ios::trunc).flush();
    display_.emplace(log_file_.string());
    std::vector<std::string> env;
    for (const auto& [name, value] : Environment()) env.push_back(name + "=" + value);
    StartWatchdog({kWineServer, "-k"}, env, display_->pid());
    if (!fs::exists(prefix_ / kReadyMarker)) CreatePrefix();
    StartServer();
  } catch (...) {
    Stop();
    throw;
  }
}

WineSession::~WineSession() {
  Stop();
}

// One test process at a time owns the prefix: it is made once, and its wineserver (and
// `wineserver -k` at the end) must not touch another run's programs.
void WineSession::LockPrefix() {
  fs::path lock_path = wine_dir_ / "prefix.lock";
  lock_fd_ = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (lock_fd_ < 0) throw std::runtime_error("cannot open " + lock_path.string());
  if (flock(lock_fd_, LOCK_EX | LOCK_NB) == 0) return;
  std::cerr << "e2e: waiting for another test run that uses " << prefix_ << std::endl;
  if (flock(lock_fd_, LOCK_EX) != 0) throw std::runtime_error("cannot lock " + lock_path.string());
}

void WineSession::CreatePrefix() {
  auto started = std::chrono::steady_clock::now();
  std::cerr << "e2e: creating the Wine prefix " << prefix_ << " (once)" << std::endl;
  RemoveServerFolders(prefix_);
  fs::remove_all(prefix_);
  fs::create_directories(prefix_);
  StartServer();
  RunOptions slow;
  slow.timeout = std::chrono::minutes(3);
  Require(Run("wineboot", {"-i"}, slow), "wineboot -i", log_file_);
  // With wine32 beside wine64, the new prefix's 32-bit half may still be set up after
  // `wineboot -i` has returned; a registry write meanwhile was seen to fail once.
  WaitForWineboot(std::chrono::minutes(2));
  // Without a window manager every hide or destroy would wait ~2 s unless windows are unmanaged.
  AddSetting("HKCU\\Software\\Wine\\X11 Driver", "Managed", "N");
  AddSetting("HKCU\\Software\\Wine\\Drivers", "Audio", "");
  // Wine's own Tahoma, otherwise texts fall back to a wider font and get
  // clipped; Marlett draws the title bars' buttons.
  for (const char* font : {"tahoma.ttf", "tahomabd.ttf", "marlett.ttf"})
    fs::copy_file(fs::path(kFontFolder) / font, windows_dir() / "Fonts" / font,
                  fs::copy_options::overwrite_existing);
  StopServer();  // the server writes the registry out as it ends
  if (ReadFile(prefix_ / "user.reg").find("\"Managed\"=\"N\"") == std::string::npos)
    throw std::runtime_error("registry settings did not reach " + (prefix_ / "user.reg").string());
  std::ofstream(prefix_ / kReadyMarker) << "made by the e2e test harness\n";
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
  std::cerr << "e2e: Wine prefix ready after " << took.count() << " s" << std::endl;
}

void WineSession::AddSetting(const std::string& key, const std::string& name,
                             const std::string& value) {
  const std::vector<std::string> args = {"add", key, "/v", name, "/d", value, "/f"};
  RunResult result = Run("reg", args);
  for (int retry = 0; retry < 3 && result.exit_code != 0; ++retry) {
    std::this_thread::sleep_for(std::chrono::seconds(2));
    result = Run("reg", args);
  }
  Require(result, "reg add " + name, log_file_);
}

// A persistent server in the foreground: programs start fast, and it is our child to stop.
void WineSession::StartServer() {
  SpawnOptions options = Spawn({kWineServer, "-f", "-p"}, {}, wine_dir_.string(), log_file_);
  options.stop_signal = SIGTERM;
  // Should the harness die abruptly, the watchdog's `wineserver -k` needs the server alive:
  // Wine's service processes hang on forever once their server is gone.
  options.death_signal = 0;
  server_.emplace(options);
  SetEmergencyCommand({kWineServer, "-k"}, options.env);
  for (int i = 0; i < 1000 && !ServerListens(prefix_); ++i) {
    if (!server_->Running())
      throw std::runtime_error("wineserver ended; see " + log_file_.string());
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!ServerListens(prefix_)) throw std::runtime_error("wineserver does not listen after 10 s");
}

void WineSession::StopServer() {
  if (!server_) return;
  SetEmergencyCommand({}, {});
  {
    ChildProcess kill(Spawn({kWineServer, "-k"}, {}, wine_dir_.string(), log_file_));
    kill.WaitFor(std::chrono::seconds(15));
  }
  if (!server_->WaitFor(std::chrono::seconds(10))) server_->Stop();
  server_.reset();
}

void WineSession::CutPower() {
  StopServer();
  StartServer();
}

void WineSession::Stop() {
  if (stopped_) return;
  stopped_ = true;
  try {
    StopServer();
  } catch (const std::exception& error) {
    std::cerr << "e2e: stopping wineserver: " << error.what() << std::endl;
  }
  display_.reset();
  StopWatchdog();
  if (!WaitForNoChildren(std::chrono::seconds(10)))
    std::cerr << "e2e: had to kill processes left behind by Wine" << std::endl;
  if (lock_fd_ >= 0) close(lock_fd_);
  lock_fd_ = -1;
}

std::map<std::string, std::string> WineSession::Environment(
    const std::map<std::string, std::string>& extra) const {
  const char* path = std::getenv("PATH");
  std::map<std::string, std::string> env = {
      {"PATH", path ? path : "/usr/local/bin:/usr/bin:/bin"},
      {"HOME", (wine_dir_ / "home").string()},
      {"WINEPREFIX", prefix_.string()},
      {"WINESERVER", kWineServer},
      {"WINEDEBUG", "-all"},
      {"WINEDLLOVERRIDES", "winemenubuilder.exe=d;mscoree,mshtml=d"},
      {"LC_ALL", "de_DE.UTF-8"},  // a German user locale, as the users have
  };
  if (display_) env["DISPLAY"] = display_->name();
  if (const char* user = std::getenv("USER")) env["USER"] = user;
  for (const auto& [name, value] : extra) env[name] = value;
  return env;
}

SpawnOptions WineSession::Spawn(std::vector<std::string> argv, const RunOptions& options,
                                const std::string& working_dir, const fs::path& output) {
  SpawnOptions spawn;
  spawn.argv = std::move(argv);
  for (const auto& [name, value] : Environment(options.env))
    spawn.env.push_back(name + "=" + value);
  spawn.working_dir = working_dir;
  spawn.output_file = output.string();
  return spawn;
}

fs::path WineSession::ToLinuxPath(const std::string& windows_path) const {
  return e2e::ToLinuxPath(windows_path, prefix_);
}

std::string WineSession::WorkingDirFor(const std::string& program,
                                       const RunOptions& options) const {
  if (!options.working_dir.empty())
    return IsWindowsPath(options.working_dir) ? ToLinuxPath(options.working_dir).string()
                                              : options.working_dir;
  if (IsWindowsPath(program)) return ToLinuxPath(program).parent_path().string();
  if (!program.empty() && program[0] == '/') return fs::path(program).parent_path().string();
  return wine_dir_.string();
}

fs::path WineSession::OutputFileFor(const RunOptions& options) {
  if (!options.capture_output) return {};
  fs::path file = wine_dir_ / ("output-" + std::to_string(getpid()) + "-" +
                               std::to_string(++output_counter_) + ".txt");
  fs::remove(file);
  return file;
}

WineProgram WineSession::Start(const std::string& program, const std::vector<std::string>& args,
                               const RunOptions& options) {
  if (program.empty()) throw std::invalid_argument("Start needs a program");
  std::vector<std::string> argv = {LoaderFor(program),
                                   program[0] == '/' ? ToWindowsPath(program) : program};
  argv.insert(argv.end(), args.begin(), args.end());
  fs::path output = OutputFileFor(options);
  SpawnOptions spawn =
      Spawn(argv, options, WorkingDirFor(program, options), output.empty() ? log_file_ : output);
  return WineProgram(ChildProcess(spawn), output);
}

// The loader of the program's own architecture: the other one starts the program anew with
// the right one, and that start hands it a show-window value (SW_SHOWNORMAL) that nobody passed
// (measured with the probe under Wine 8: "1" instead of none). Names Wine finds itself ("reg")
// are its 64-bit programs.
const char* WineSession::LoaderFor(const std::string& program) const {
  fs::path file;
  if (program[0] == '/') file = program;
  if (IsWindowsPath(program)) file = ToLinuxPath(program);
  return !file.empty() && IsI386Program(file) ? kWineLoader32 : kWineLoader;
}

bool WineSession::WaitForWineboot(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    bool running = false;
    for (const fs::directory_entry& process : fs::directory_iterator("/proc")) {
      const std::string name = process.path().filename().string();
      if (name.find_first_not_of("0123456789") != std::string::npos) continue;
      if ((running = IsWinebootOf(process.path(), prefix_))) break;
    }
    if (!running) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

RunResult WineSession::Run(const std::string& program, const std::vector<std::string>& args,
                           const RunOptions& options) {
  WineProgram started = Start(program, args, options);
  RunResult result = started.Wait(options.timeout);
  if (!result.timed_out) return result;
  result = started.Kill();
  result.timed_out = true;
  return result;
}

RunResult WineSession::RunNative(const std::vector<std::string>& argv, const RunOptions& options) {
  if (argv.empty()) throw std::invalid_argument("RunNative needs a program");
  std::vector<std::string> full = argv;
  if (full[0].find('/') == std::string::npos) full[0] = FindOnPath(full[0]);
  if (full[0].empty()) throw std::runtime_error(argv[0] + " not found on PATH");
  fs::path output = OutputFileFor(options);
  std::string working_dir =
      options.working_dir.empty() ? NativeBuildDir().string() : options.working_dir;
  WineProgram started(
      ChildProcess(Spawn(full, options, working_dir, output.empty() ? log_file_ : output)), output);
  RunResult result = started.Wait(options.timeout);
  if (!result.timed_out) return result;
  result = started.Kill();
  result.timed_out = true;
  return result;
}

fs::path WineSession::Screenshot(const std::string& name) {
  fs::path folder = RunFolder("screenshots");
  fs::create_directories(folder);
  fs::path file = folder / (name + ".png");
  fs::remove(file);
  RunOptions options;
  options.timeout = std::chrono::seconds(30);
  options.capture_output = true;
  RunResult result =
      RunNative({"import", "-window", "root", "-display", display(), file.string()}, options);
  if (result.exit_code != 0 || !fs::exists(file))
    throw std::runtime_error("screenshot " + file.string() + " failed: " + result.output);
  return file;
}

}  // namespace e2e
