// The wizard at the keyboard, by real key presses: Enter presses the focused push button and
// nothing else, Escape closes the dialogs that have a close button but not the pages, Back on
// the method page returns through the licence, and a maximised page hands on the place it
// returns to.
#include <string>
#include <vector>

#include "harness/release_folder.h"
#include "harness/ui_driver.h"
#include "harness/wine_test.h"

namespace e2e {
namespace {

// The details of the list's first package, chosen from its menu by keys.
const std::vector<std::string> kOpenDetails = {
    Press("TFErweitert", "home"), Press("TFErweitert", "apps"), WaitFor("#32768", 5000),
    Press("TFErweitert", "down"), Press("TFErweitert", "down"), Press("TFErweitert", "enter"),
    WaitFor("TFDetails", 10000)};

class Keyboard : public WineTest {
 protected:
  // A release that offers the user-defined installation, with or without a licence.
  WineProgram StartRelease(const std::vector<std::string>& license = {}) {
    ReleaseSettings settings;
    settings.allow_advanced = true;
    settings.license = license;
    ReleaseFiles files;
    files.settings = settings.Text();
    return wine().Start(MakeRelease(work_dir() / "release", files).string(), {});
  }

  // Drives, and fails the test with the driver's report when a command failed.
  DriverRun Step(const std::vector<std::string>& commands) {
    DriverRun run = Drive(wine(), commands);
    EXPECT_TRUE(run.ok()) << run.Report();
    return run;
  }

  // From the welcome page to the advanced page by clicks.
  bool ToAdvancedPage() {
    return Step({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BWeiter"),
                 WaitFor("TFMethode", 10000), Click("TFMethode", "CBAdvancedInstall"),
                 Click("TFMethode", "BWeiter"), WaitFor("TFErweitert", 10000)})
        .ok();
  }
};

// Welcome, licence and method page by keys alone: Enter on a focused button presses it, Enter
// on a choice does nothing, and Back on the method page returns to the licence as it was left.
TEST_F(Keyboard, EnterPressesTheFocusedButtonAndBackReturnsThroughTheLicence) {
  WineProgram installer = StartRelease({"Lizenzbedingungen für den Tastaturtest."});

  DriverRun welcome =
      Step({WaitFor("TFWillkommen", 30000), FocusOf("TFWillkommen"), Press("TFWillkommen", "enter"),
            WaitFor("TFLizenz", 10000), IsShown("TFWillkommen")});
  if (!welcome.ok()) return;
  EXPECT_EQ(welcome.Value(FocusOf("TFWillkommen")), "BWeiter");
  EXPECT_EQ(welcome.Value(IsShown("TFWillkommen")), "0");

  // On the decline choice Enter does nothing; agreed, and on Next, it goes on.
  DriverRun licence = Step({FocusOf("TFLizenz"), Press("TFLizenz", "enter"), IsShown("TFLizenz"),
                            CheckedOf("TFLizenz", "CBAblehnen"), Press("TFLizenz", "down"),
                            Press("TFLizenz", "tab"), FocusOf("TFLizenz"),
                            Press("TFLizenz", "enter"), WaitFor("TFMethode", 10000)});
  if (!licence.ok()) return;
  EXPECT_EQ(licence.Values(FocusOf("TFLizenz")),
            (std::vector<std::string>{"CBAblehnen", "BWeiter"}));
  EXPECT_EQ(licence.Value(IsShown("TFLizenz")), "1");
  EXPECT_EQ(licence.Value(CheckedOf("TFLizenz", "CBAblehnen")), "1");

  // Tab from Next passes Cancel to Back.
  DriverRun back =
      Step({FocusOf("TFMethode"), Press("TFMethode", "enter"), IsShown("TFMethode"),
            Press("TFMethode", "tab"), Press("TFMethode", "tab"), Press("TFMethode", "tab"),
            FocusOf("TFMethode"), Press("TFMethode", "enter"), WaitFor("TFLizenz", 10000),
            IsShown("TFMethode"), IsShown("TFWillkommen"), CheckedOf("TFLizenz", "CBAnnehmen"),
            EnabledOf("TFLizenz", "BWeiter")});
  if (!back.ok()) return;
  EXPECT_EQ(back.Values(FocusOf("TFMethode")),
            (std::vector<std::string>{"CBAutomaticInstall", "BZurueck"}));
  EXPECT_EQ(back.Values(IsShown("TFMethode")), (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(back.Value(IsShown("TFWillkommen")), "0");
  EXPECT_EQ(back.Value(CheckedOf("TFLizenz", "CBAnnehmen")), "1");
  EXPECT_EQ(back.Value(EnabledOf("TFLizenz", "BWeiter")), "1");
  installer.Kill();
}

// Enter on the focused OK closes the details dialog, and so does Escape.
TEST_F(Keyboard, EnterOnOkAndEscapeCloseTheDetailsDialog) {
  WineProgram installer = StartRelease();
  if (!ToAdvancedPage()) return;

  std::vector<std::string> commands = kOpenDetails;
  for (const std::string& command :
       {FocusOf("TFDetails"), Press("TFDetails", "enter"), WaitGone("TFDetails", 5000)})
    commands.push_back(command);
  commands.insert(commands.end(), kOpenDetails.begin(), kOpenDetails.end());
  for (const std::string& command : {Press("TFDetails", "escape"), WaitGone("TFDetails", 5000),
                                     IsShown("TFErweitert"), FocusOf("TFErweitert")})
    commands.push_back(command);
  DriverRun run = Step(commands);
  if (!run.ok()) return;
  EXPECT_EQ(run.Value(FocusOf("TFDetails")), "BClose");
  EXPECT_EQ(run.Value(IsShown("TFErweitert")), "1");
  EXPECT_EQ(run.Value(FocusOf("TFErweitert")), "LVDateien");
  installer.Kill();
}

// Escape closes the About dialog, and Tab reaches its close button, which Enter presses; on
// the welcome page Escape still does nothing, not even ask whether to cancel.
TEST_F(Keyboard, EscapeAndEnterCloseTheAboutDialogButEscapeLeavesThePage) {
  WineProgram installer = StartRelease();

  DriverRun run = Step(
      {WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BInfo"), WaitFor("TFAbout", 10000),
       Press("TFAbout", "escape"), WaitGone("TFAbout", 5000), Click("TFWillkommen", "BInfo"),
       WaitFor("TFAbout", 10000), FocusOf("TFAbout"), Press("TFAbout", "tab"), FocusOf("TFAbout"),
       Press("TFAbout", "enter"), WaitGone("TFAbout", 5000), Press("TFWillkommen", "escape"),
       Absent("TMessageForm", 1000), IsShown("TFWillkommen")});
  if (!run.ok()) return;
  EXPECT_EQ(run.Values(FocusOf("TFAbout")), (std::vector<std::string>{"BRReadme", "BClose"}));
  EXPECT_EQ(run.Value(IsShown("TFWillkommen")), "1");
  installer.Kill();
}

// The maximised advanced page hands the place it returns to, not its maximised frame, to the
// page that follows it.
TEST_F(Keyboard, AMaximisedPageHandsOnItsRestoredPosition) {
  WineProgram installer = StartRelease();
  if (!ToAdvancedPage()) return;

  DriverRun run =
      Step({RectOf("TFErweitert"), Maximize("TFErweitert"), RectOf("TFErweitert"),
            Click("TFErweitert", "BZurueck"), WaitFor("TFMethode", 10000), RectOf("TFMethode")});
  if (!run.ok()) return;
  const std::vector<std::string> advanced = run.Values(RectOf("TFErweitert"));
  const ScreenRect restored = ParseRect(advanced.at(0));
  const ScreenRect maximised = ParseRect(advanced.at(1));
  const ScreenRect method = ParseRect(run.Value(RectOf("TFMethode")));
  EXPECT_LT(maximised.left, restored.left) << advanced.at(1);
  EXPECT_EQ(method.left, restored.left) << run.Value(RectOf("TFMethode"));
  EXPECT_EQ(method.top, restored.top) << run.Value(RectOf("TFMethode"));
  installer.Kill();
}

}  // namespace
}  // namespace e2e
