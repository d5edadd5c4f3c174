// A silent run of the real Installer.exe under Wine: every package really runs, one after the
// other, and the run ends with the countdown and the restart request.
#include <chrono>

#include "harness/install_test.h"
#include "harness/test_msi.h"

namespace e2e {
namespace {

using std::chrono::seconds;

const char kKeptLog[] = "E2E-Installer-KB2.log";

// The command line a package gets: its quoted path, a blank, its parameters.
std::string CommandLine(const fs::path& package, const std::string& parameters) {
  return "\"" + ToWindowsPath(package) + "\" " + parameters;
}

class InstallRun : public InstallTest {};

InstallRelease SilentRelease() {
  InstallRelease release;
  release.texts.post_install = {"Alle Updates sind installiert.", "Viel Erfolg – Ihr Team."};
  release.defaults.delete_logs = true;
  release.packages = {
      {"KB1.exe", "/quiet /log:\"C:\\Mit Leerzeichen\\kb1.log\" /titel \"Zwei Worte\""},
      {"Unterordner\\KB2.exe", "/norestart", kKeptLog},
      {"Testpaket.msi", "/qn"},
      {"KB4.exe", "/extract:{tmp}\\eins /log:{TMP}\\zwei.log"},
      {"KB5.exe", ""},
  };
  release.packages[3].sleep_ms = 3000;  // long enough to look at the page
  return release;
}

TEST_F(InstallRun, SilentRunInstallsEveryPackageInOrderAndRestartsAfterTheCountdown) {
  InstallRelease release = SilentRelease();
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    TestMsi msi(wine(), folder / "Testpaket.msi");
    fs::remove(msi.InstalledFile());  // an earlier run may have left it
    release.packages[2].source = msi.path();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    const fs::path data = exe.parent_path() / "Data";
    ForgetLog(kKeptLog);
    WineProgram installer = wine().Start(exe.string(), {"/silent"});

    // KB4, the third probe, sleeps: the page shows its counter, size and progress meanwhile.
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 3, seconds(60)));
    DriverRun page =
        Drive({IsShown("TFKopieren"), TextOf("TFKopieren", "LKopierStatus"),
               TextOf("TFKopieren", "LKopierDatei"), PositionOf("TFKopieren", "ProgressBar")});
    wine().Screenshot("InstallRun-installation-page");
    ASSERT_TRUE(page.ok()) << page.Report();
    EXPECT_EQ(page.Value(IsShown("TFKopieren")), "1");
    EXPECT_EQ(page.Value(TextOf("TFKopieren", "LKopierStatus")),
              StatusLine(4, 5, data / "KB4.exe"));
    EXPECT_EQ(page.Value(TextOf("TFKopieren", "LKopierDatei")), release.packages[3].Name());
    EXPECT_EQ(page.Value(PositionOf("TFKopieren", "ProgressBar")), "60");  // 3 of 5 done

    DriverRun finish =
        Drive({WaitFor("TFEnde", 60000), WaitFor("TFAutoReboot", 10000),
               TextOf("TFEnde", "LHinweis"), TextOf("TFEnde", "LText"), IsShown("TFKopieren")});
    const auto countdown_seen = std::chrono::steady_clock::now();
    wine().Screenshot("InstallRun-finish-page-and-countdown");
    ASSERT_TRUE(finish.ok()) << finish.Report();
    EXPECT_EQ(finish.Value(TextOf("TFEnde", "LHinweis")), Word(release::kWordCompleted));
    EXPECT_EQ(
        finish.Value(TextOf("TFEnde", "LText")),
        JoinedBlock(release.texts.post_install) + "\r\r" + Word(release::kWordAfterPostInstall));
    EXPECT_EQ(finish.Value(IsShown("TFKopieren")), "0");
    WineProgram sentinel = StartSentinel();  // now, so that it stays out of the pictures

    // The restart is requested at the countdown's eleventh second; Wine then ends the
    // session, which ends the installer and the sentinel alike.
    RunResult end = installer.Wait(seconds(40));
    const auto lasted = std::chrono::steady_clock::now() - countdown_seen;
    EXPECT_FALSE(end.timed_out) << "the countdown did not end the program";
    EXPECT_EQ(end.signal, 0);
    EXPECT_GE(lasted, seconds(8)) << "the program ended before the countdown ran out";
    EXPECT_TRUE(SessionEnded(sentinel, seconds(10))) << "no restart request ended the session";

    const std::vector<ProbeRun> runs = ReadProbeJournal(JournalOf(folder));
    ASSERT_EQ(FileNames(runs), release.ProbeNames());
    const std::string tmp = ToWindowsPath(exe.parent_path()) + "\\data\\setuptemp";
    const std::vector<std::string> commands = {
        CommandLine(data / "KB1.exe", release.packages[0].parameters),
        CommandLine(data / "Unterordner" / "KB2.exe", "/norestart"),
        CommandLine(data / "KB4.exe", "/extract:" + tmp + "\\eins /log:" + tmp + "\\zwei.log"),
        CommandLine(data / "KB5.exe", ""),
    };
    const std::vector<fs::path> folders = {data, data / "Unterordner", data, data};
    for (std::size_t i = 0; i < runs.size(); ++i) {
      EXPECT_EQ(runs[i].sequence, static_cast<int>(i) + 1);
      EXPECT_EQ(runs[i].command_line, commands[i]);
      EXPECT_EQ(runs[i].working_dir, ToWindowsPath(folders[i])) << runs[i].file_name;
      EXPECT_EQ(runs[i].show_window, "0") << runs[i].file_name << " was not started hidden";
    }
    EXPECT_TRUE(fs::is_directory(data / "setuptemp"));
    EXPECT_TRUE(fs::exists(msi.InstalledFile())) << "the MSI package was not installed";
    EXPECT_FALSE(fs::exists(wine().windows_dir() / kKeptLog));
    EXPECT_TRUE(fs::exists(TrashFiles() / kKeptLog)) << "the log did not go to the trash";
  });
}

TEST_F(InstallRun, WithoutDeleteLogsThePackageLogStaysInTheWindowsFolder) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q", kKeptLog}, {"KB2.exe", "/q"}};
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    ForgetLog(kKeptLog);
    WineProgram installer = wine().Start(exe.string(), {"/silent"});

    DriverRun finish = Drive({WaitFor("TFEnde", 60000)});
    ASSERT_TRUE(finish.ok()) << finish.Report();
    installer.Kill();  // before the countdown asks for the restart
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
    const fs::path log = wine().windows_dir() / kKeptLog;
    EXPECT_TRUE(fs::exists(log));
    EXPECT_NE(ReadFile(log).find("KB1.exe"), std::string::npos) << "not the probe's log";
    EXPECT_FALSE(fs::exists(TrashFiles() / kKeptLog));
  });
}

}  // namespace
}  // namespace e2e
