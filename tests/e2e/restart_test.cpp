// A package that demands a restart in the middle of a run: the continuation file, the run-once
// value, the restart prompt, the end of the session, and the run going on after the logon.
#include <chrono>
#include <optional>

#include "harness/install_test.h"

namespace e2e {
namespace {

using std::chrono::seconds;

class Restart : public InstallTest {};

// Wine marks every regular file as archive; nothing else may join the hidden attribute.
bool OnlyHidden(const std::string& attributes) {
  return attributes == "hidden" || attributes == "hidden+archive";
}

InstallRelease RestartRelease() {
  InstallRelease release;
  // Automatic restart off, so the prompt shows; the other options on and off, so that the
  // continuation file tells them apart.
  release.defaults.delete_logs = true;
  release.defaults.low_priority = true;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}, {"KB4.exe", "/q"}};
  release.packages[1].restart = true;
  release.packages[2].sleep_ms = 4000;  // long enough to read the page meanwhile
  return release;
}

TEST_F(Restart, PackageDemandingARestartHandsOverAndTheRunGoesOnAfterTheLogon) {
  const InstallRelease release = RestartRelease();
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    const fs::path continuation = exe.parent_path() / "rir_eridivu";
    WineProgram installer = wine().Start(exe.string(), {});

    DriverRun prompt =
        Drive({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BWeiter"),
               WaitFor("TForm1", 60000), CaptionOf("TForm1"), TextOf("TForm1", "Label1"),
               TextOf("TForm1", "Label2"), TextOf("TForm1", "Label3"), TextOf("TForm1", "Button1"),
               IsShown("TFKopieren"), "attributes " + ToWindowsPath(continuation)});
    wine().Screenshot("Restart-prompt");
    ASSERT_TRUE(prompt.ok()) << prompt.Report();
    EXPECT_EQ(prompt.Value(CaptionOf("TForm1")), Word(release::kWordRestartCaption));
    EXPECT_EQ(prompt.Value(TextOf("TForm1", "Label1")), Word(release::kWordRestartNeeded));
    EXPECT_EQ(prompt.Value(TextOf("TForm1", "Label2")), Word(release::kWordRestartContinues));
    EXPECT_EQ(prompt.Value(TextOf("TForm1", "Label3")), Word(release::kWordClosePrograms));
    EXPECT_EQ(prompt.Value(TextOf("TForm1", "Button1")), Word(release::kWordRestartNow));
    EXPECT_EQ(prompt.Value(IsShown("TFKopieren")), "1");

    // Before the restart: packages 3 and 4 are left, written down for the next logon.
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
              (std::vector<std::string>{"KB1.exe", "KB2.exe"}));
    EXPECT_EQ(ReadFile(continuation), "4\r\n0\r\n0\r\n1\r\n1\r\n2\r\n3\r\n");
    EXPECT_TRUE(OnlyHidden(prompt.Value("attributes " + ToWindowsPath(continuation))));
    const std::optional<std::string> command = RunOnceValue();
    ASSERT_EQ(command, RunOnceCommand(exe));
    ForgetRunOnce();  // the test plays the logon itself

    RestartFromThePrompt(installer);
    EXPECT_EQ(ReadProbeJournal(JournalOf(folder)).size(), 2u);

    // The logon runs the value's command: the program's quoted path and the log it carries.
    WineProgram continuing = StartRunOnce(*command);
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 3, seconds(60)));
    DriverRun continued =
        Drive({IsShown("TFKopieren"), TextOf("TFKopieren", "LKopierStatus"),
               TextOf("TFKopieren", "LKopierDatei"), PositionOf("TFKopieren", "ProgressBar")});
    wine().Screenshot("Restart-continued-installation-page");
    ASSERT_TRUE(continued.ok()) << continued.Report();
    EXPECT_EQ(continued.Value(IsShown("TFKopieren")), "1");
    EXPECT_EQ(continued.Value(TextOf("TFKopieren", "LKopierStatus")),
              StatusLine(3, 4, exe.parent_path() / "Data" / "KB3.exe"));
    EXPECT_EQ(continued.Value(TextOf("TFKopieren", "LKopierDatei")), release.packages[2].Name());
    EXPECT_EQ(continued.Value(PositionOf("TFKopieren", "ProgressBar")), "50");
    // Until the run is over the state stays, naming what is still to run.
    EXPECT_EQ(ReadFile(continuation), "4\r\n0\r\n0\r\n1\r\n1\r\n2\r\n3\r\n");
    EXPECT_EQ(RunOnceValue(), command);

    // Automatic restart stays off after the logon: the finish page waits, and ticking
    // "Jetzt nicht neu starten" lets it end the program.
    DriverRun finished =
        Drive({WaitFor("TFEnde", 60000), IsShown("TFAutoReboot"),
               Click("TFEnde", "CBNichtNeustarten"), Click("TFEnde", "BAbbrechen")});
    ASSERT_TRUE(finished.ok()) << finished.Report();
    EXPECT_EQ(finished.Value(IsShown("TFAutoReboot")), "0");
    RunResult ended = continuing.Wait(seconds(20));
    EXPECT_FALSE(ended.timed_out) << "the finish page did not end the program";
    EXPECT_EQ(ended.exit_code, 0);
    EXPECT_FALSE(fs::exists(continuation)) << "the run is over, its state must go";
    EXPECT_EQ(RunOnceValue(), std::nullopt);
    const std::vector<ProbeRun> runs = ReadProbeJournal(JournalOf(folder));
    ASSERT_EQ(FileNames(runs), release.ProbeNames());
    for (std::size_t i = 0; i < runs.size(); ++i)
      EXPECT_EQ(runs[i].sequence, static_cast<int>(i) + 1);
  });
}

}  // namespace
}  // namespace e2e
