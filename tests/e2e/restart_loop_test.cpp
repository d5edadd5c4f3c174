// A package that restarts the computer whenever it runs: it runs at most twice, the run goes on
// with the packages after it, and ends as a failure that names it.
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

const char kSessionEndedTwice[] = "Die Sitzung endete zweimal, während das Paket lief";

class RestartLoop : public UnattendedTest {
 protected:
  // The logon: the user's run-once value is taken away and its command started.
  WineProgram LogOn() {
    const std::optional<std::string> command = UserRunOnceValue();
    if (!command) throw std::runtime_error("no run-once value to log on with");
    ForgetUserRunOnce();
    return StartRunOnce(*command);
  }
};

TEST_F(RestartLoop, APackageThatEndsTheSessionEveryTimeRunsTwiceAndTheRunEndsWith1603) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}};
  const std::string kb2 = release.packages[1].Name();
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetUserRunOnce();
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    const fs::path program_folder = exe.parent_path();
    ProbeSettings restarts;
    restarts.journal = ToWindowsPath(JournalOf(folder));
    restarts.end_session = true;
    WriteProbeSettings(program_folder / "Data" / "KB2.exe", restarts);
    // Told it runs on XP, the program hands over through the user's run-once key, which Wine
    // leaves alone at the end of the session: the test plays each logon itself.
    InstallerWindowsVersion system(wine(), "winxp");
    const fs::path continuation = program_folder / "rir_eridivu";
    const fs::path session_ends = program_folder / "rir_eridivu.sessionend";
    const fs::path failures = program_folder / "rir_eridivu.failed";
    const std::vector<bool> options = {true, false, false, false};  // a silent run restarts
    const std::string command = RunOnceCommand(exe, " /norestart");

    // Package 2 ends the session the first time.
    WineProgram sentinel = StartSentinel();
    WineProgram installer = wine().Start(exe.string(), {"/silent", "/norestart"});
    EXPECT_FALSE(installer.Wait(seconds(60)).timed_out) << "the session did not end";
    EXPECT_TRUE(SessionEnded(sentinel, seconds(10))) << "the package did not end the session";
    ASSERT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
              (std::vector<std::string>{"KB1.exe", "KB2.exe"}));
    EXPECT_EQ(ReadFile(continuation), ContinuationFile(3, options, {1, 2}));
    EXPECT_EQ(ReadFile(session_ends), "1\t1\r\n");
    EXPECT_FALSE(fs::exists(failures));
    ASSERT_EQ(UserRunOnceValue(), command);

    // After the logon package 2 runs again and ends the session a second time: it has failed,
    // and the continuation names only package 3.
    WineProgram second_sentinel = StartSentinel();
    WineProgram second = LogOn();
    EXPECT_FALSE(second.Wait(seconds(60)).timed_out) << "the session did not end";
    EXPECT_TRUE(SessionEnded(second_sentinel, seconds(10)))
        << "the package did not end the session";
    ASSERT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
              (std::vector<std::string>{"KB1.exe", "KB2.exe", "KB2.exe"}));
    EXPECT_EQ(ReadFile(continuation), ContinuationFile(3, options, {2}));
    EXPECT_EQ(ReadFile(session_ends), "1\t2\r\n");
    EXPECT_EQ(ReadFile(failures), "1\t0\t" + kb2 + "\t" + kSessionEndedTwice + "\r\n");
    ASSERT_EQ(UserRunOnceValue(), command);

    // The next logon installs package 3 and ends the run as a failure, by itself: "/norestart".
    WineProgram last = LogOn();
    const RunResult end = last.Wait(seconds(60));
    ASSERT_FALSE(end.timed_out) << "the run did not end by itself";
    EXPECT_EQ(end.exit_code, 1603 & 0xFF);  // ERROR_INSTALL_FAILURE, as Unix keeps it
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
              (std::vector<std::string>{"KB1.exe", "KB2.exe", "KB2.exe", "KB3.exe"}));
    for (const fs::path& state : {continuation, session_ends, failures})
      EXPECT_FALSE(fs::exists(state)) << state << ": the run is over, its state must go";
    EXPECT_EQ(UserRunOnceValue(), std::nullopt);

    const std::vector<std::string> log = InstallLogRecords();
    EXPECT_EQ(Occurrences(log, "Paket 2 (" + kb2 + ") startet"), 2);
    EXPECT_EQ(Occurrences(log, "Paket 2 (" + kb2 +
                                   "): fehlgeschlagen, die Sitzung endete zum zweiten Mal, "
                                   "während es lief"),
              1)
        << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, "Die Sitzung endet: Ende mit Exitcode 3010"), 1);
    EXPECT_EQ(Occurrences(log, "Die Sitzung endet: Ende mit Exitcode 1603"), 1);
    EXPECT_EQ(Occurrences(log, "Paket 3 (" + release.packages[2].Name() + ") startet"), 1);
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("Ende mit Exitcode 1603"), std::string::npos) << log.back();
  });
}

}  // namespace
}  // namespace e2e
