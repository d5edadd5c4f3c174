// Cancelling while a long package installs: the package runs to its end, no other package
// starts, and the silent run ends by itself without a restart.
#include <chrono>

#include "harness/install_test.h"

namespace e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr unsigned kLongPackageMs = 8000;

class Cancel : public InstallTest {};

TEST_F(Cancel, YesDuringALongPackageLetsItEndAndTheSilentRunEndsWithoutRestart) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}};
  release.packages[0].sleep_ms = kLongPackageMs;
  RetryOnLostStart(release.ProbeNames(), {"KB1.exe"}, [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    // Silent, so automatic restart is on: a cancelled run must not count down all the same.
    WineProgram installer = wine().Start(exe.string(), {"/silent"});
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 1, seconds(60)));
    const auto package_started = std::chrono::steady_clock::now();

    DriverRun asked =
        Drive({WaitFor("TFKopieren", 10000), Click("TFKopieren", "BAbbrechen"),
               WaitFor("TMessageForm", 10000), TextOf("TMessageForm", "Message"),
               Click("TMessageForm", "Yes"), WaitGone("TMessageForm", 5000),
               TextOf("TFKopieren", "LKopierStatus"), IsShown("TFKopieren"), IsShown("TFEnde")});
    ASSERT_TRUE(asked.ok()) << asked.Report();
    EXPECT_EQ(asked.Value(TextOf("TMessageForm", "Message")),
              Word(release::kWordCancelInstallQuestion));
    EXPECT_EQ(asked.Value(TextOf("TFKopieren", "LKopierStatus")),
              Word(release::kWordWaitingAfterCancel));
    EXPECT_EQ(asked.Value(IsShown("TFKopieren")), "1") << "the page must wait for the package";
    EXPECT_EQ(asked.Value(IsShown("TFEnde")), "0");

    // Nobody watches a silent run: once the package has ended, it ends by itself, cancelled.
    WineProgram sentinel = StartSentinel();
    const RunResult end = installer.Wait(seconds(60));
    const auto ended = std::chrono::steady_clock::now();
    ASSERT_FALSE(end.timed_out) << "the cancelled silent run did not end by itself";
    // Only once the package has slept its time (less the polling).
    EXPECT_GE(ended - package_started, milliseconds(kLongPackageMs - 1000));
    EXPECT_EQ(end.exit_code, 1602 & 0xFF);  // ERROR_INSTALL_USEREXIT, as Unix keeps it
    EXPECT_EQ(end.signal, 0);
    EXPECT_FALSE(SessionEnded(sentinel, seconds(2))) << "a restart request ended the session";
    sentinel.Kill();
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), std::vector<std::string>{"KB1.exe"});
  });
}

}  // namespace
}  // namespace e2e
