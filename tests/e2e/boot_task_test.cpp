// A continuation without a logon: "/resume:boot" registers a task of the Task Scheduler in
// place of the run-once value, the system start is played by running the task's command, and
// the task goes when the run ends. What Wine 8 can't show: its taskschd keeps a registered task
// as a file under C:\windows\system32\tasks, but writes neither the trigger, nor the principal,
// nor the command into it (it implements none of them), so the command is read from the install
// log, which names what was registered; Wine starts no task at the system start; and every Wine
// process runs as the same user, never as LocalSystem, whose road without the switch is tested
// on the fake platform.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

const char kRegistered[] = "Aufgabenplanung, rir Eridivu beim Systemstart als LocalSystem = ";
const char kTaskName[] = "rir Eridivu";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

class BootTask : public UnattendedTest {
 protected:
  // C:\windows\system32\Tasks, as Wine's Task Scheduler spells it on disk (lower case).
  fs::path TasksFolder() {
    const fs::path system32 = wine().windows_dir() / "system32";
    for (const fs::directory_entry& entry : fs::directory_iterator(system32)) {
      if (Lower(entry.path().filename().string()) == "tasks") return entry.path();
    }
    return system32 / "tasks";
  }
  fs::path TaskFile() { return TasksFolder() / kTaskName; }
  std::vector<std::string> TaskNames() {
    std::vector<std::string> names;
    if (!fs::is_directory(TasksFolder())) return names;
    for (const fs::directory_entry& entry : fs::directory_iterator(TasksFolder()))
      names.push_back(entry.path().filename().string());
    return names;
  }
  // A task left behind by a failed test would be taken for this one's.
  void ForgetTask() { fs::remove_all(TaskFile()); }

  // The commands of the task as the log names them at each registration, in order.
  std::vector<std::string> RegisteredCommands() {
    std::vector<std::string> commands;
    for (const std::string& record : InstallLogRecords()) {
      const std::size_t at = record.find(kRegistered);
      if (at != std::string::npos) commands.push_back(record.substr(at + sizeof kRegistered - 1));
    }
    return commands;
  }

  static InstallRelease ReleaseWithRestartAfterTheFirst(int packages) {
    InstallRelease release;
    for (int i = 1; i <= packages; ++i)
      release.packages.push_back({"KB" + std::to_string(i) + ".exe", "/q"});
    release.packages[0].restart = true;
    return release;
  }
};

TEST_F(BootTask, TheSwitchRegistersATaskWhoseCommandGoesOnWithTheRunAndWhichGoesAtItsEnd) {
  InstallRelease release = ReleaseWithRestartAfterTheFirst(3);
  release.packages[1].sleep_ms = 3000;  // the tasks are looked at meanwhile
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetInstallLog();
    ForgetTask();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    const fs::path continuation = exe.parent_path() / "rir_eridivu";
    // "/norestart": the run stops at the hand-over, and the test plays the system start.
    WineProgram installer = wine().Start(exe.string(), {"/silent", "/resume:boot", "/norestart"});
    const RunResult handed_over = installer.Wait(seconds(60));
    ASSERT_FALSE(handed_over.timed_out) << "the run did not end by itself at the hand-over";
    EXPECT_EQ(handed_over.exit_code, 3010 & 0xFF);  // as Unix keeps it; the log has it whole
    EXPECT_EQ(Occurrences(InstallLogRecords(), "Ende mit Exitcode 3010"), 1);
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), std::vector<std::string>{"KB1.exe"});
    EXPECT_TRUE(fs::exists(continuation));

    // The task, in place of the run-once value.
    EXPECT_EQ(RunOnceValue(), std::nullopt);
    EXPECT_EQ(UserRunOnceValue(), std::nullopt);
    ASSERT_TRUE(fs::is_regular_file(TaskFile())) << "no task " << TaskFile();
    const std::string command = RunOnceCommand(exe, " /norestart /resume:boot");
    // Before the first package and at the hand-over.
    ASSERT_EQ(RegisteredCommands(), (std::vector<std::string>{command, command}))
        << ReadFile(InstallLog());
    // What Wine keeps of the definition the program handed over: its settings.
    const std::string stored = ReadFile(TaskFile());
    EXPECT_NE(stored.find("<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>"), std::string::npos)
        << stored;
    EXPECT_NE(stored.find("<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"),
              std::string::npos)
        << stored;

    // The system start: the task's command.
    WineProgram boot = StartRunOnce(command);
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 2, seconds(60)));
    // Registered again for this half, replacing the task: a kill must not lose the rest.
    EXPECT_EQ(RegisteredCommands(), (std::vector<std::string>{command, command, command}));
    EXPECT_EQ(TaskNames(), std::vector<std::string>{kTaskName});
    const RunResult end = boot.Wait(seconds(60));
    ASSERT_FALSE(end.timed_out) << "the continued run did not end by itself";
    EXPECT_EQ(end.exit_code, 0);
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
    EXPECT_FALSE(fs::exists(TaskFile())) << "the run is over, its task must go";
    EXPECT_FALSE(fs::exists(continuation)) << "the run is over, its state must go";
    EXPECT_EQ(RunOnceValue(), std::nullopt);
  });
}

// A folder where the Task Scheduler keeps the task's file: it refuses the registration.
TEST_F(BootTask, ATaskThatCantBeRegisteredIsAFailedHandOver) {
  const InstallRelease release = ReleaseWithRestartAfterTheFirst(2);
  RetryOnLostStart(release.ProbeNames(), {"KB1.exe"}, [&](const fs::path& folder) {
    ForgetInstallLog();
    ForgetTask();
    fs::create_directories(TaskFile());
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    WineProgram installer = wine().Start(exe.string(), {"/silent", "/resume:boot", "/norestart"});
    const RunResult end = installer.Wait(seconds(60));
    fs::remove_all(TaskFile());
    ASSERT_FALSE(end.timed_out) << "the run did not end by itself";
    EXPECT_EQ(end.exit_code, 1603 & 0xFF);  // as Unix keeps it; the log has it whole
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), std::vector<std::string>{"KB1.exe"});
    EXPECT_FALSE(fs::exists(exe.parent_path() / "rir_eridivu")) << "a hand-over half made";
    EXPECT_EQ(RunOnceValue(), std::nullopt);
    const std::vector<std::string> records = InstallLogRecords();
    const std::string failed = "Nicht registriert: " + std::string(kRegistered) +
                               RunOnceCommand(exe, " /norestart /resume:boot") + " (";
    // Once before the first package, once at the hand-over.
    EXPECT_EQ(Occurrences(records, failed), 2) << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(records, "(0x80070005))"), 2) << ReadFile(InstallLog());
    ASSERT_FALSE(records.empty());
    EXPECT_NE(records.back().find("Ende mit Exitcode 1603"), std::string::npos)
        << ReadFile(InstallLog());
  });
}

}  // namespace
}  // namespace e2e
