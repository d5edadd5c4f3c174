// The probe package runs under Wine and tells what it saw; the harness reads it back.
#include <chrono>
#include <csignal>
#include <fstream>
#include <set>
#include <thread>

#include "harness/wine_test.h"

namespace e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

class Smoke : public WineTest {};

TEST_F(Smoke, ProbesRecordOrderCommandLineAndWorkingFolder) {
  fs::path release = work_dir() / "release files";
  fs::path run_here = work_dir() / "run here";
  fs::create_directories(run_here);
  std::string journal = ToWindowsPath(work_dir() / "journal.txt");
  fs::path log_file = wine().windows_dir() / "SmokeSecond.log";
  fs::remove(log_file);  // the prefix outlives test runs

  // `first` finds the journal through the environment, `second` through its side file.
  fs::path first = PlaceProbe(probe(), release, "first.exe");
  ProbeSettings second_settings;
  second_settings.journal = journal;
  second_settings.exit_code = 7;
  second_settings.log_file = "SmokeSecond.log";
  fs::path second = PlaceProbe(probe(), release, "second.exe", second_settings);

  RunOptions options;
  options.working_dir = run_here.string();
  options.env["PROBE_JOURNAL"] = journal;
  RunResult first_result = wine().Run(first.string(), {"hello world", "/quiet"}, options);
  options.env.clear();
  RunResult second_result =
      wine().Run(second.string(), {"/log:C:\\Program Files\\x.log", "-n"}, options);

  EXPECT_FALSE(first_result.timed_out);
  EXPECT_EQ(first_result.exit_code, 0);
  EXPECT_FALSE(second_result.timed_out);
  EXPECT_EQ(second_result.exit_code, 7);
  EXPECT_TRUE(fs::exists(log_file)) << log_file;

  auto runs = ReadProbeJournal(work_dir() / "journal.txt");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].sequence, 1);
  EXPECT_EQ(runs[0].file_name, "first.exe");
  EXPECT_EQ(runs[0].command_line, "\"" + ToWindowsPath(first) + "\" \"hello world\" /quiet");
  EXPECT_EQ(runs[0].working_dir, ToWindowsPath(run_here));
  EXPECT_EQ(runs[1].sequence, 2);
  EXPECT_EQ(runs[1].file_name, "second.exe");
  EXPECT_EQ(runs[1].command_line,
            "\"" + ToWindowsPath(second) + "\" \"/log:C:\\Program Files\\x.log\" -n");
  EXPECT_EQ(runs[1].working_dir, ToWindowsPath(run_here));
  // Started from Linux, nobody passed a show-window value.
  EXPECT_EQ(runs[0].show_window, "-");
}

TEST_F(Smoke, LongPackageIsRecordedAtStartAndStoppedAtTheTimeLimit) {
  ProbeSettings settings;
  settings.sleep_ms = 600000;
  fs::path exe = PlaceProbe(probe(), work_dir(), "KB0001.exe", settings);
  fs::path journal = work_dir() / "probe-journal.txt";  // the default: beside the exe

  WineProgram running = wine().Start(exe.string(), {});
  auto deadline = std::chrono::steady_clock::now() + seconds(60);
  while (ReadProbeJournal(journal).empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(milliseconds(50));
  ASSERT_EQ(ReadProbeJournal(journal).size(), 1u) << "the probe never wrote its journal line";
  EXPECT_TRUE(running.Running());
  EXPECT_TRUE(running.Wait(milliseconds(200)).timed_out);
  RunResult killed = running.Kill();
  EXPECT_EQ(killed.signal, SIGKILL);
  EXPECT_FALSE(running.Running());

  RunOptions short_limit;
  short_limit.timeout = seconds(2);
  RunResult limited = wine().Run(exe.string(), {}, short_limit);
  EXPECT_TRUE(limited.timed_out);
  EXPECT_EQ(ReadProbeJournal(journal).size(), 2u);
}

TEST_F(Smoke, ProbesStartedTogetherKeepTheJournalWhole) {
  std::string journal = ToWindowsPath(work_dir() / "journal.txt");
  RunOptions options;
  options.env["PROBE_JOURNAL"] = journal;
  std::vector<WineProgram> running;
  for (int i = 1; i <= 4; ++i) {
    fs::path exe = PlaceProbe(probe(), work_dir(), "pkg" + std::to_string(i) + ".exe");
    running.push_back(wine().Start(exe.string(), {"run", std::to_string(i)}, options));
  }
  for (auto& program : running) {
    RunResult result = program.Wait(seconds(60));
    EXPECT_FALSE(result.timed_out);
    EXPECT_EQ(result.exit_code, 0);
  }

  auto runs = ReadProbeJournal(work_dir() / "journal.txt");  // throws on a torn line
  ASSERT_EQ(runs.size(), 4u);
  std::set<std::string> names;
  for (size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].sequence, static_cast<int>(i + 1));
    names.insert(runs[i].file_name);
  }
  EXPECT_EQ(names, (std::set<std::string>{"pkg1.exe", "pkg2.exe", "pkg3.exe", "pkg4.exe"}));
}

TEST_F(Smoke, ScreenshotOfTheDisplayIsAPng) {
  fs::path file = wine().Screenshot("Smoke-empty-display");
  std::ifstream in(file, std::ios::binary);
  char magic[8] = {};
  in.read(magic, sizeof magic);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
}

}  // namespace
}  // namespace e2e
