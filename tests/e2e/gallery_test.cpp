// Every window of the program with the demo release's German and English words, at 96 and at
// 144 dpi: screenshots to look at (build/native/screenshots/Gallery-*), and the checks that
// catch a text cut off where the window can tell: a label's text or a push button's caption. The
// same windows once more, each moved to a monitor of 144 dpi and back while it is open
// (DpiChange-*).
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "harness/install_test.h"

namespace e2e {
namespace {

struct GalleryCase {
  const char* language_file;  // in demo/
  int dpi;
  bool change_dpi = false;  // each window goes to a monitor of 144 dpi and back
};

struct ClientSizes {
  int width_before = 0, height_before = 0, width = 0, height = 0;
};

// The driver's "dpi" value: "<width>x<height> <width>x<height>".
ClientSizes ParseClientSizes(const std::string& text) {
  ClientSizes sizes;
  char x = 0;
  std::istringstream(text) >> sizes.width_before >> x >> sizes.height_before >> sizes.width >> x >>
      sizes.height;
  return sizes;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class Gallery : public InstallTest, public ::testing::WithParamInterface<GalleryCase> {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    SetDpi(GetParam().dpi);
  }
  void TearDown() override { SetDpi(96); }

  std::string Name(const std::string& window) const {
    std::string language = GetParam().language_file;
    language = language == "Language.ini" ? "de" : "en";
    return (GetParam().change_dpi ? "DpiChange-" : "Gallery-") + language + "-" +
           std::to_string(GetParam().dpi) + "-" + window;
  }

  // Runs the commands, then saves the screen under the window's name once the new window has
  // had time to paint itself; the layout of `form`, the window shot, must be sound (its labels'
  // texts are measured against what they painted, its buttons' captions against their width).
  bool Shot(const std::vector<std::string>& commands, const std::string& window,
            const std::string& form) {
    const DriverRun run = Drive(commands);
    Shot(window);
    EXPECT_TRUE(run.ok()) << window << ": " << run.Report();
    if (!run.ok()) return false;
    CheckWindow(form, window);
    return true;
  }
  // The layout must be sound; with a change of resolution also on the monitor of 144 dpi and
  // back on the first one, where the window's client area is what it was before.
  void CheckWindow(const std::string& form, const std::string& window) {
    ExpectSoundLayout(form, window, GetParam().dpi);
    if (!GetParam().change_dpi) return;
    const ClientSizes first = MoveToMonitor(form, window, GetParam().dpi, 144);
    const ClientSizes back = MoveToMonitor(form, window, 144, GetParam().dpi);
    EXPECT_EQ(back.width, first.width_before) << Name(window);
    EXPECT_EQ(back.height, first.height_before) << Name(window);
  }
  // The window's client area takes the new scale (a message measured anew at it differs by a
  // little); its shot is named after the resolution.
  ClientSizes MoveToMonitor(const std::string& form, const std::string& window, int from, int to) {
    const std::string step = window + "-dpi" + std::to_string(to);
    const std::string command =
        "dpi " + form + " " + std::to_string(from) + " " + std::to_string(to);
    const DriverRun moved = Drive({"awareness " + form, command});
    EXPECT_TRUE(moved.ok()) << step << ": " << moved.Report();
    if (!moved.ok()) return {};
    EXPECT_EQ(moved.Value("awareness " + form), "2") << step << ": follows each monitor";
    const ClientSizes sizes = ParseClientSizes(moved.Value(command));
    EXPECT_NEAR(sizes.width, sizes.width_before * to / from, sizes.width / 10) << step;
    EXPECT_NEAR(sizes.height, sizes.height_before * to / from, sizes.height / 10) << step;
    Shot(step);
    SCOPED_TRACE(step);
    ExpectSoundLayout(form, window, to);
    return sizes;
  }
  void ExpectSoundLayout(const std::string& form, const std::string& window, int dpi) {
    const std::string command = "layout " + form + " " + std::to_string(dpi);
    const DriverRun layout = Drive({command});
    EXPECT_TRUE(layout.ok()) << window << ": " << layout.Report();
    if (!layout.ok()) return;
    EXPECT_EQ(layout.Value(command), MeantOverlaps(window)) << Name(window);
  }
  // The overlaps the layout means: the options' check boxes (top 12, height 17) reach one unit
  // into their explanations (top 28) as the page declares them, with the empty lower margin of
  // the box, which draws nothing there.
  std::string MeantOverlaps(const std::string& window) const {
    if (window != "advanced-options") return "";
    return "CBAutoReboot overlaps LAutoReboot\nCBMinimieren overlaps LMinimieren\n"
           "CBLoescheLogs overlaps LLoescheLogs\nCBNiedrigePrioritaet overlaps "
           "LNiedrigePrioritaet";
  }
  void Shot(const std::string& window) {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    wine().Screenshot(Name(window));
  }

  InstallRelease Release() const {
    InstallRelease release;
    release.texts.allow_advanced = true;
    release.texts.license = {"Lizenzbedingungen des Musterrelease.", "",
                             "Mit der Installation stimmen Sie diesen Bedingungen zu."};
    release.texts.post_install = {"Alle Updates sind installiert."};
    release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}};
    release.packages[0].sleep_ms = 4000;  // long enough to look at the installation page
    release.packages[1].restart = true;
    release.packages[1].link = false;
    release.language = Slurp(fs::path(E2E_DEMO_DIR) / GetParam().language_file);
    return release;
  }
};

// The wizard from the welcome page to the restart prompt, with the About dialog, the cancel
// question, both sheets of the advanced page, its menu and the details dialog on the way.
TEST_P(Gallery, EveryWindowOfTheWizard) {
  const InstallRelease release = Release();
  const fs::path exe =
      MakeInstallRelease(work_dir() / "release", release, probe(), work_dir() / "journal.txt");
  ForgetRunOnce();
  WineProgram installer = wine().Start(exe.string(), {});
  const bool walked =
      Shot({WaitFor("TFWillkommen", 30000)}, "welcome", "TFWillkommen") &&
      Shot({Click("TFWillkommen", "BInfo"), WaitFor("TFAbout", 10000)}, "about-release",
           "TFAbout") &&
      Shot({Press("TFAbout", "ctrl+tab")}, "about-installer", "TFAbout") &&
      Shot({Click("TFAbout", "BClose"), WaitGone("TFAbout", 5000),
            Click("TFWillkommen", "BAbbrechen"), WaitFor("TMessageForm", 10000)},
           "cancel-question", "TMessageForm") &&
      Shot({Click("TMessageForm", "No"), WaitGone("TMessageForm", 5000),
            Click("TFWillkommen", "BWeiter"), WaitFor("TFLizenz", 10000)},
           "licence", "TFLizenz") &&
      Shot({Click("TFLizenz", "CBAnnehmen"), WaitEnabled("TFLizenz", "BWeiter", 5000),
            Click("TFLizenz", "BWeiter"), WaitFor("TFMethode", 10000)},
           "method", "TFMethode") &&
      Shot({Click("TFMethode", "CBAdvancedInstall"), Click("TFMethode", "BWeiter"),
            WaitFor("TFErweitert", 10000)},
           "advanced-files", "TFErweitert") &&
      Shot({Press("TFErweitert", "home"), Press("TFErweitert", "apps"), WaitFor("#32768", 5000)},
           "context-menu", "TFErweitert") &&
      Shot({Press("TFErweitert", "down"), Press("TFErweitert", "down"),
            Press("TFErweitert", "enter"), WaitFor("TFDetails", 10000)},
           "details", "TFDetails") &&
      Shot({Click("TFDetails", "BClose"), WaitGone("TFDetails", 5000),
            Press("TFErweitert", "ctrl+tab")},
           "advanced-options", "TFErweitert") &&
      Shot({Click("TFErweitert", "BWeiter"), WaitFor("TFStart", 10000)}, "summary", "TFStart") &&
      Shot({Click("TFStart", "BWeiter"), WaitFor("TFKopieren", 10000)}, "installation",
           "TFKopieren") &&
      Shot({WaitFor("TForm1", 60000)}, "restart-prompt", "TForm1");
  EXPECT_TRUE(walked);
  installer.Kill();
  ForgetRunOnce();
  if (!walked) return;

  // The logon after the restart: the run goes on and ends on the finish page, which stands
  // centred on the screen as the first page did.
  WineProgram continued = wine().Start(exe.string(), {});
  DriverRun finish = Drive({WaitFor("TFEnde", 60000), RectOf("TFEnde"), "screen"});
  Shot("finish-after-restart");
  if (finish.ok()) {
    CheckWindow("TFEnde", "finish-after-restart");
    const ScreenRect page = ParseRect(finish.Value(RectOf("TFEnde")));
    int width = 0, height = 0;
    std::istringstream(finish.Value("screen")) >> width >> height;
    EXPECT_NEAR(page.left + page.right, width, 2) << finish.Value(RectOf("TFEnde"));
    EXPECT_NEAR(page.top + page.bottom, height, 2) << finish.Value(RectOf("TFEnde"));
  }
  continued.Kill();
  ForgetRunOnce();
}

// The countdown before an automatic restart, at the end of a silent run whose last package
// demands it. The countdown is stopped before it runs out: a restart would end the session of
// the tests that follow.
TEST_P(Gallery, CountdownOfTheAutomaticRestart) {
  InstallRelease release = Release();
  release.packages.pop_back();  // the package that demands the restart comes last
  release.packages[0].sleep_ms = 0;
  const fs::path exe =
      MakeInstallRelease(work_dir() / "release", release, probe(), work_dir() / "journal.txt");
  ForgetRunOnce();
  WineProgram installer = wine().Start(exe.string(), {"/silent"});
  EXPECT_TRUE(Shot({WaitFor("TFAutoReboot", 60000)}, "countdown", "TFAutoReboot"));
  const DriverRun stopped =
      Drive({Click("TFAutoReboot", "Button1"), WaitGone("TFAutoReboot", 5000)});
  EXPECT_TRUE(stopped.ok()) << stopped.Report();
  installer.Kill();
  ForgetRunOnce();
}

std::string GalleryName(const ::testing::TestParamInfo<GalleryCase>& info) {
  const std::string file = info.param.language_file;
  return std::string(file == "Language.ini" ? "German" : "English") +
         std::to_string(info.param.dpi);
}

INSTANTIATE_TEST_SUITE_P(DemoWords, Gallery,
                         ::testing::Values(GalleryCase{"Language.ini", 96},
                                           GalleryCase{"Language.en.ini", 96},
                                           GalleryCase{"Language.ini", 144},
                                           GalleryCase{"Language.en.ini", 144}),
                         GalleryName);
INSTANTIATE_TEST_SUITE_P(DpiChange, Gallery,
                         ::testing::Values(GalleryCase{"Language.ini", 96, true},
                                           GalleryCase{"Language.en.ini", 96, true}),
                         GalleryName);

}  // namespace
}  // namespace e2e
