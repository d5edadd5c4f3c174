// What interrupts a run while a package installs: the package ends the session, or ends the
// installer, or the power fails. The run goes on at the next start with that package; one
// interrupted twice starts no third time, the run goes on with the packages after it and ends
// as a failure that names it.
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

const char kInterruptedTwice[] =
    "Die Installation wurde zweimal unterbrochen, während das Paket lief";

class RestartLoop : public UnattendedTest {
 protected:
  // The logon: the user's run-once value is taken away and its command started.
  WineProgram LogOn() {
    const std::optional<std::string> command = UserRunOnceValue();
    if (!command) throw std::runtime_error("no run-once value to log on with");
    ForgetUserRunOnce();
    return StartRunOnce(*command);
  }

  // Three packages whose second does what `kb2` says, with every probe's journal in `folder`;
  // returns the program.
  fs::path MakeRelease(const fs::path& folder, ProbeSettings kb2) {
    ForgetUserRunOnce();
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    kb2.journal = ToWindowsPath(JournalOf(folder));
    WriteProbeSettings(exe.parent_path() / "Data" / "KB2.exe", kb2);
    return exe;
  }

  // The end of a run whose package 2 of 3 was interrupted twice: package 3 ran after it, the
  // state is gone, and the log names package 2 as failed.
  void ExpectPackage2FailedAndTheRestRan(const fs::path& folder, const fs::path& program_folder) {
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
              (std::vector<std::string>{"KB1.exe", "KB2.exe", "KB2.exe", "KB3.exe"}));
    for (const char* name : {"rir_eridivu", "rir_eridivu.attempts", "rir_eridivu.failed"})
      EXPECT_FALSE(fs::exists(program_folder / name)) << name << ": the run is over";
    EXPECT_EQ(UserRunOnceValue(), std::nullopt);
    const std::vector<std::string> log = InstallLogRecords();
    const std::string kb2 = release.packages[1].Name();
    EXPECT_EQ(Occurrences(log, "Paket 2 (" + kb2 + ") startet"), 2);
    EXPECT_EQ(Occurrences(log, "Paket 2 (" + kb2 +
                                   "): fehlgeschlagen, die Installation wurde zweimal "
                                   "unterbrochen, während es lief; es startet kein drittes Mal"),
              1)
        << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, "Paket 3 (" + release.packages[2].Name() + ") startet"), 1);
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("Ende mit Exitcode 1603"), std::string::npos) << log.back();
  }

  static InstallRelease ThreePackages() {
    InstallRelease three;
    three.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}};
    return three;
  }

  InstallRelease release = ThreePackages();
};

TEST_F(RestartLoop, APackageThatEndsTheSessionEveryTimeRunsTwiceAndTheRunEndsWith1603) {
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ProbeSettings restarts;
    restarts.end_session = true;
    const fs::path exe = MakeRelease(folder, restarts);
    const fs::path program_folder = exe.parent_path();
    // Told it runs on XP, the program hands over through the user's run-once key, which Wine
    // leaves alone at the end of the session: the test plays each logon itself.
    InstallerWindowsVersion system(wine(), "winxp");
    const fs::path continuation = program_folder / "rir_eridivu";
    const fs::path attempts = program_folder / "rir_eridivu.attempts";
    const std::vector<bool> options = {true, false, false, false};  // a silent run restarts
    const std::string command = RunOnceCommand(exe, " /norestart");

    // Package 2 ends the session the first time, and after the logon a second time.
    for (const char* count : {"1", "2"}) {
      SCOPED_TRACE(count);
      WineProgram sentinel = StartSentinel();
      WineProgram installer =
          count[0] == '1' ? wine().Start(exe.string(), {"/silent", "/norestart"}) : LogOn();
      EXPECT_FALSE(installer.Wait(seconds(60)).timed_out) << "the session did not end";
      EXPECT_TRUE(SessionEnded(sentinel, seconds(10))) << "the package did not end the session";
      EXPECT_EQ(ReadFile(continuation), ContinuationFile(3, options, {1, 2}));
      EXPECT_EQ(ReadFile(attempts), std::string("1\t") + count + "\r\n");
      ASSERT_EQ(UserRunOnceValue(), command);
    }

    // The next logon passes over package 2, installs package 3 and ends the run as a failure,
    // by itself: "/norestart".
    WineProgram last = LogOn();
    const RunResult end = last.Wait(seconds(60));
    ASSERT_FALSE(end.timed_out) << "the run did not end by itself";
    EXPECT_EQ(end.exit_code, 1603 & 0xFF);  // ERROR_INSTALL_FAILURE, as Unix keeps it
    ExpectPackage2FailedAndTheRestRan(folder, program_folder);
    EXPECT_EQ(Occurrences(InstallLogRecords(), "Die Sitzung endet: Ende mit Exitcode 3010"), 2);
  });
}

// A package that ends its installer without a word (TerminateProcess), each time it runs.
TEST_F(RestartLoop, APackageThatEndsTheInstallerEveryTimeRunsTwiceAndTheRunEndsWith1603) {
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ProbeSettings kills;
    kills.kill_installer = true;
    const fs::path exe = MakeRelease(folder, kills);
    InstallerWindowsVersion system(wine(), "winxp");
    WineProgram first = wine().Start(exe.string(), {"/silent", "/norestart"});
    EXPECT_FALSE(first.Wait(seconds(60)).timed_out) << "the installer was not ended";
    WineProgram second = LogOn();
    EXPECT_FALSE(second.Wait(seconds(60)).timed_out) << "the installer was not ended";
    WineProgram last = LogOn();
    const RunResult end = last.Wait(seconds(60));
    ASSERT_FALSE(end.timed_out) << "the run did not end by itself";
    EXPECT_EQ(end.exit_code, 1603 & 0xFF);
    ExpectPackage2FailedAndTheRestRan(folder, exe.parent_path());
  });
}

// The power fails while package 2 of 4 runs in the first half of a silent run: after the
// machine starts (and the logon is played where Windows needs one), packages 3 and 4 run
// once, package 1 not again, and the run ends with 0.
class PowerCut : public RestartLoop, public ::testing::WithParamInterface<const char*> {};

INSTANTIATE_TEST_SUITE_P(, PowerCut, ::testing::Values("win10", "winxp"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

TEST_P(PowerCut, WhilePackage2Of4RunsTheRunGoesOnAfterTheStart) {
  release.packages.push_back({"KB4.exe", "/q"});
  release.packages[1].sleep_ms = 3000;  // the power fails meanwhile
  const std::vector<std::string> ran = {"KB1.exe", "KB2.exe", "KB2.exe", "KB3.exe", "KB4.exe"};
  RetryOnLostStart(release.ProbeNames(), ran, [&](const fs::path& folder) {
    ForgetUserRunOnce();
    ForgetRunOnce();
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    InstallerWindowsVersion system(wine(), GetParam());
    WineProgram installer = wine().Start(exe.string(), {"/silent", "/norestart"});
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 2, seconds(60)));
    wine().CutPower();
    installer.Wait(seconds(10));
    ASSERT_TRUE(wine().WaitForWineboot(seconds(60)));
    // Windows 10 runs the machine's run-once value as the system starts (Wine's wineboot
    // does); on XP it waits for the user's logon.
    if (const std::optional<std::string> user = UserRunOnceValue()) {
      ForgetUserRunOnce();
      StartRunOnce(*user).Wait(seconds(60));
    } else if (const std::optional<std::string> machine = RunOnceValue()) {
      ForgetRunOnce();
      StartRunOnce(*machine).Wait(seconds(60));
    }
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 5, seconds(60))) << ReadFile(InstallLog());
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), ran);
    for (int tries = 0; tries < 300 && Occurrences(InstallLogRecords(), "Ende mit Exitcode 0") == 0;
         ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Occurrences(InstallLogRecords(), "Ende mit Exitcode 0"), 1) << ReadFile(InstallLog());
    EXPECT_FALSE(fs::exists(exe.parent_path() / "rir_eridivu"));
    EXPECT_EQ(UserRunOnceValue(), std::nullopt);
    EXPECT_EQ(RunOnceValue(), std::nullopt);
  });
}

}  // namespace
}  // namespace e2e
