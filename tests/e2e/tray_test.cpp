// Installing in the background: with "Minimize" the installation page stays hidden and the
// tray icon shows; a double click on the icon brings the page back.
#include <chrono>
#include <thread>

#include "harness/install_test.h"

namespace e2e {
namespace {

using std::chrono::seconds;

class Tray : public InstallTest {
 protected:
  // Wine shows the tray icons in a window of its own, mapped only while it holds an icon.
  bool TrayWindowMapped() {
    RunOptions options;
    options.capture_output = true;
    const RunResult info = wine().RunNative({"xwininfo", "-name", "Wine System Tray"}, options);
    return info.exit_code == 0 && info.output.find("Map State: IsViewable") != std::string::npos;
  }

  bool TrayWindowUnmappedWithin(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (TrayWindowMapped()) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
  }
};

TEST_F(Tray, MinimizedRunKeepsThePageHiddenAndADoubleClickOnTheIconRestoresIt) {
  InstallRelease release;
  release.defaults.minimize = true;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}};
  release.packages[0].sleep_ms = 4000;
  release.packages[1].sleep_ms = 9000;  // room for the restore on a busy machine
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    WineProgram installer = wine().Start(exe.string(), {});

    // Polled from the click on, through the whole first package and into the second.
    DriverRun hidden =
        Drive({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BWeiter"),
               Absent("TFKopieren", 5000), IsShown("TFWillkommen"), Exists("TrayMessageWindow")});
    ASSERT_TRUE(hidden.ok()) << hidden.Report();
    EXPECT_EQ(hidden.Value(IsShown("TFWillkommen")), "0");
    EXPECT_EQ(hidden.Value(Exists("TrayMessageWindow")), "1");
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 2, seconds(10)));
    EXPECT_TRUE(TrayWindowMapped()) << "no tray icon while the page is in the background";
    wine().Screenshot("Tray-icon");

    DriverRun restored =
        Drive({"traynotify lbuttondblclk", WaitFor("TFKopieren", 5000),
               TextOf("TFKopieren", "LKopierStatus"), PositionOf("TFKopieren", "ProgressBar")});
    ASSERT_TRUE(restored.ok()) << restored.Report();
    EXPECT_EQ(restored.Value(TextOf("TFKopieren", "LKopierStatus")),
              StatusLine(2, 2, exe.parent_path() / "Data" / "KB2.exe"));
    EXPECT_EQ(restored.Value(PositionOf("TFKopieren", "ProgressBar")), "50");
    EXPECT_TRUE(TrayWindowUnmappedWithin(seconds(5))) << "the tray icon stayed after restoring";

    DriverRun finished = Drive({WaitFor("TFEnde", 30000)});
    ASSERT_TRUE(finished.ok()) << finished.Report();
    installer.Kill();  // the finish page would restart on closing
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
  });
}

}  // namespace
}  // namespace e2e
