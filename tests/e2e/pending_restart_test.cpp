// A restart that Windows already waits for when the wizard's installation begins: the question,
// the restart before the first package through the usual hand-over, and the continued run that
// installs everything although the key stays.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

constexpr const char* kRebootPending =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\RebootPending";

// The key by which Component Based Servicing shows a pending restart, for the lifetime of the
// object; the prefix had none.
class PendingRestartKey {
 public:
  explicit PendingRestartKey(WineSession& wine) : wine_(wine) {
    wine_.Run("reg", {"add", kRebootPending, "/f"});
  }
  ~PendingRestartKey() { wine_.Run("reg", {"delete", kRebootPending, "/f"}); }
  PendingRestartKey(const PendingRestartKey&) = delete;
  PendingRestartKey& operator=(const PendingRestartKey&) = delete;

 private:
  WineSession& wine_;
};

class PendingRestart : public UnattendedTest {};

TEST_F(PendingRestart, WizardRestartsFirstOnRequestAndTheContinuedRunInstallsEverything) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}};
  const std::string waits =
      "Windows wartet bereits auf einen Neustart: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\"
      "Windows\\CurrentVersion\\Component Based Servicing\\RebootPending";
  PendingRestartKey key(wine());
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    const fs::path continuation = exe.parent_path() / "rir_eridivu";
    const fs::path pending = exe.parent_path() / "rir_eridivu.pendingrestart";
    WineProgram installer = wine().Start(exe.string(), {});

    const DriverRun asked =
        Drive({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BWeiter"),
               WaitFor("TMessageForm", 30000), TextOf("TMessageForm", "Message"),
               TextOf("TMessageForm", "Yes"), TextOf("TMessageForm", "No")});
    wine().Screenshot("PendingRestart-question");
    ASSERT_TRUE(asked.ok()) << asked.Report();
    const std::string question = asked.Value(TextOf("TMessageForm", "Message"));
    EXPECT_EQ(question.rfind("Windows wartet bereits auf einen Neustart des Computers.", 0), 0u)
        << question;
    EXPECT_EQ(asked.Value(TextOf("TMessageForm", "Yes")), "&Zuerst neu starten");
    EXPECT_EQ(asked.Value(TextOf("TMessageForm", "No")), "&Trotzdem installieren");

    // Automatic restart is off: the restart prompt comes before the restart, as at a restart
    // in the middle of a run, and nothing has been installed.
    const DriverRun prompt = Drive({Click("TMessageForm", "Yes"), WaitFor("TForm1", 30000)});
    ASSERT_TRUE(prompt.ok()) << prompt.Report();
    EXPECT_TRUE(ReadProbeJournal(JournalOf(folder)).empty()) << "a package ran before";
    EXPECT_EQ(ReadFile(continuation), ContinuationFile(2, {false, false, false, false}, {0, 1}));
    EXPECT_TRUE(fs::exists(pending));
    const std::optional<std::string> command = RunOnceValue();
    ASSERT_EQ(command, RunOnceCommand(exe));
    ForgetRunOnce();  // the test plays the logon itself

    RestartFromThePrompt(installer);

    // The key stays after the restart: the continued run logs it and installs all the same.
    WineProgram continuing = StartRunOnce(*command);
    const DriverRun finish = Drive({WaitFor("TFEnde", 60000)});
    ASSERT_TRUE(finish.ok()) << finish.Report();
    CloseFinishPageWithoutRestart();
    const RunResult end = continuing.Wait(seconds(20));
    EXPECT_FALSE(end.timed_out) << "the finish page did not end the program";
    EXPECT_EQ(end.exit_code, 0);
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
    EXPECT_FALSE(fs::exists(continuation)) << "the run is over, its state must go";
    EXPECT_FALSE(fs::exists(pending)) << "the run is over, its state must go";
    EXPECT_EQ(RunOnceValue(), std::nullopt);

    const std::vector<std::string> log = InstallLogRecords();
    const std::string text = ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, waits), 2) << text;
    EXPECT_EQ(Occurrences(log, "Der Computer wird vor dem ersten Paket neu gestartet"), 1) << text;
    EXPECT_EQ(Occurrences(log,
                          "Die Installation beginnt ohne diesen Neustart (in diesem Lauf "
                          "schon dafür neu gestartet)"),
              1)
        << text;
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("Ende mit Exitcode 0"), std::string::npos) << text;
  });
}

}  // namespace
}  // namespace e2e
