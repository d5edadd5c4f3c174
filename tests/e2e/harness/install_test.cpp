#include "harness/install_test.h"

#include <gtest/gtest-spi.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

const char kRunOnceKey[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kRunOnceName[] = "rir Eridivu";

// The journal lacks exactly one expected probe, and what did run ran in table order.
bool LostOneStart(const std::vector<std::string>& journal, const std::vector<std::string>& table,
                  const std::vector<std::string>& expected) {
  const auto ran = [&](const std::string& name) {
    return std::find(journal.begin(), journal.end(), name) != journal.end();
  };
  if (std::count_if(expected.begin(), expected.end(), ran) + 1 !=
      static_cast<std::ptrdiff_t>(expected.size()))
    return false;
  std::vector<std::string> in_order;
  for (const std::string& name : table)
    if (ran(name)) in_order.push_back(name);
  return in_order == journal;
}

// The words of a command line as Windows parts them: at blanks outside quotes, the quotes
// dropped. (The program's run-once commands hold no escaped quote.)
std::vector<std::string> Words(const std::string& command) {
  std::vector<std::string> words;
  bool quoted = false;
  bool in_word = false;
  for (const char c : command) {
    if (c == ' ' && !quoted) {
      in_word = false;
      continue;
    }
    if (!in_word) words.emplace_back();
    in_word = true;
    if (c == '"') {
      quoted = !quoted;
    } else {
      words.back() += c;
    }
  }
  return words;
}

void Replay(const ::testing::TestPartResult& result) {
  if (!result.failed()) return;
  ADD_FAILURE_AT(result.file_name() ? result.file_name() : "(unknown)", result.line_number())
      << result.message();
}

}  // namespace

void InstallTest::RetryOnLostStart(const std::vector<std::string>& table,
                                   const std::vector<std::string>& expected,
                                   const Attempt& attempt) {
  const fs::path first = work_dir() / "attempt-1";
  ::testing::TestPartResultArray failures;
  {
    ::testing::ScopedFakeTestPartResultReporter capture(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
    RunAttempt(first, attempt);
  }
  bool failed = false;
  for (int i = 0; i < failures.size(); ++i)
    failed = failed || failures.GetTestPartResult(i).failed();
  if (failed && LostOneStart(FileNames(ReadProbeJournal(JournalOf(first))), table, expected)) {
    std::cerr << "e2e: Wine lost the start of one probe; the scenario runs once more" << std::endl;
    RunAttempt(work_dir() / "attempt-2", attempt);
    return;
  }
  for (int i = 0; i < failures.size(); ++i) Replay(failures.GetTestPartResult(i));
}

void InstallTest::RunAttempt(const fs::path& folder, const Attempt& attempt) {
  fs::create_directories(folder);
  ForgetRunOnce();
  try {
    attempt(folder);
  } catch (const std::exception& error) {
    ADD_FAILURE() << error.what();
  }
  EndLeftoverInstallers();
  ForgetRunOnce();
}

bool InstallTest::WaitForJournal(const fs::path& journal, std::size_t count,
                                 std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (ReadProbeJournal(journal).size() < count) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::vector<std::string> InstallTest::FileNames(const std::vector<ProbeRun>& runs) {
  std::vector<std::string> names;
  for (const ProbeRun& run : runs) names.push_back(run.file_name);
  return names;
}

std::string InstallTest::ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::optional<std::string> QueryRegistryValue(WineSession& wine, const std::string& key,
                                              const std::string& name, const std::string& type,
                                              const std::map<std::string, std::string>& env) {
  RunOptions options;
  options.capture_output = true;
  options.env = env;
  const RunResult query = wine.Run("reg", {"query", key, "/v", name}, options);
  if (query.exit_code != 0) return std::nullopt;
  std::istringstream lines(query.output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t at = line.find(type);
    if (line.find(name) == std::string::npos || at == std::string::npos) continue;
    const std::size_t data = line.find_first_not_of(' ', at + type.size());
    return data == std::string::npos ? "" : line.substr(data);
  }
  return std::nullopt;
}

std::string InstallTest::RunOnceCommand(const fs::path& exe, const std::string& switches,
                                        const std::string& log, const std::string& state_folder) {
  const std::string folder =
      state_folder.empty() ? ToWindowsPath(exe.parent_path()) + "\\" : state_folder;
  return "\"" + ToWindowsPath(exe) + "\"" + switches + " \"/log:" + log +
         "\" \"/continuation:" + folder + "rir_eridivu\"";
}

WineProgram InstallTest::StartRunOnce(const std::string& command,
                                      const std::map<std::string, std::string>& env) {
  std::vector<std::string> words = Words(command);
  if (words.empty()) throw std::runtime_error("an empty run-once command");
  const std::string program = words.front();
  words.erase(words.begin());
  RunOptions options;
  options.env = env;
  return wine().Start(program, words, options);
}

std::optional<std::string> InstallTest::RunOnceValue() {
  return QueryRegistryValue(wine(), kRunOnceKey, kRunOnceName);
}

void InstallTest::ForgetRunOnce() {
  wine().Run("reg", {"delete", kRunOnceKey, "/v", kRunOnceName, "/f"});  // mostly not there
}

void InstallTest::SetDpi(int dpi) {
  wine().Run("reg", {"add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                     "/d", std::to_string(dpi), "/f"});
}

void InstallTest::EndLeftoverInstallers() {
  const DriverRun ended = Drive({"terminate InstallerApplication"});
  if (!ended.ok()) ADD_FAILURE() << "installers left running: " << ended.Report();
}

WineProgram InstallTest::StartSentinel() {
  WineProgram sentinel = wine().Start(WindowsProgram("bare_window.exe").string(), {});
  const DriverRun shown = Drive({WaitFor("BareWindow", 30000)});
  if (!shown.ok()) throw std::runtime_error("the sentinel window did not show: " + shown.Report());
  return sentinel;
}

bool InstallTest::SessionEnded(WineProgram& sentinel, std::chrono::milliseconds timeout) {
  if (sentinel.Wait(timeout).timed_out) return false;
  if (!wine().WaitForWineboot(timeout))
    throw std::runtime_error("Wine's end of the session did not finish");
  return true;
}

void InstallTest::RestartFromThePrompt(WineProgram& installer) {
  WineProgram sentinel = StartSentinel();
  const DriverRun pressed = Drive({Click("TForm1", "Button1")});
  ASSERT_TRUE(pressed.ok()) << pressed.Report();
  EXPECT_FALSE(installer.Wait(std::chrono::seconds(30)).timed_out)
      << "the restart request did not end the program";
  EXPECT_TRUE(SessionEnded(sentinel, std::chrono::seconds(10)))
      << "no restart request ended the session";
}

fs::path InstallTest::TrashFiles() {
  return fs::path(wine().Environment().at("HOME")) / ".local" / "share" / "Trash" / "files";
}

void InstallTest::ForgetLog(const std::string& name) {
  fs::remove(wine().windows_dir() / name);
  fs::remove(TrashFiles() / name);
  fs::remove(TrashFiles().parent_path() / "info" / (name + ".trashinfo"));
}

}  // namespace e2e
