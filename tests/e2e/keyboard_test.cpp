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
const std::vector<std::string> kOpenDetails = {"press TFErweitert home", "press TFErweitert apps",
                                               "wait #32768 5000",       "press TFErweitert down",
                                               "press TFErweitert down", "press TFErweitert enter",
                                               "wait TFDetails 10000"};

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
    return Step({"wait TFWillkommen 30000", "click TFWillkommen BWeiter", "wait TFMethode 10000",
                 "click TFMethode CBAdvancedInstall", "click TFMethode BWeiter",
                 "wait TFErweitert 10000"})
        .ok();
  }
};

// Welcome, licence and method page by keys alone: Enter on a focused button presses it, Enter
// on a choice does nothing, and Back on the method page returns to the licence as it was left.
TEST_F(Keyboard, EnterPressesTheFocusedButtonAndBackReturnsThroughTheLicence) {
  WineProgram installer = StartRelease({"Lizenzbedingungen für den Tastaturtest."});

  DriverRun welcome =
      Step({"wait TFWillkommen 30000", "focus TFWillkommen", "press TFWillkommen enter",
            "wait TFLizenz 10000", "shown TFWillkommen"});
  if (!welcome.ok()) return;
  EXPECT_EQ(welcome.Value("focus TFWillkommen"), "BWeiter");
  EXPECT_EQ(welcome.Value("shown TFWillkommen"), "0");

  // On the decline choice Enter does nothing; agreed, and on Next, it goes on.
  DriverRun licence =
      Step({"focus TFLizenz", "press TFLizenz enter", "shown TFLizenz",
            "checked TFLizenz CBAblehnen", "press TFLizenz down", "press TFLizenz tab",
            "focus TFLizenz", "press TFLizenz enter", "wait TFMethode 10000"});
  if (!licence.ok()) return;
  EXPECT_EQ(licence.Values("focus TFLizenz"), (std::vector<std::string>{"CBAblehnen", "BWeiter"}));
  EXPECT_EQ(licence.Value("shown TFLizenz"), "1");
  EXPECT_EQ(licence.Value("checked TFLizenz CBAblehnen"), "1");

  // Tab from Next passes Cancel to Back.
  DriverRun back =
      Step({"focus TFMethode", "press TFMethode enter", "shown TFMethode", "press TFMethode tab",
            "press TFMethode tab", "press TFMethode tab", "focus TFMethode",
            "press TFMethode enter", "wait TFLizenz 10000", "shown TFMethode", "shown TFWillkommen",
            "checked TFLizenz CBAnnehmen", "enabled TFLizenz BWeiter"});
  if (!back.ok()) return;
  EXPECT_EQ(back.Values("focus TFMethode"),
            (std::vector<std::string>{"CBAutomaticInstall", "BZurueck"}));
  EXPECT_EQ(back.Values("shown TFMethode"), (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(back.Value("shown TFWillkommen"), "0");
  EXPECT_EQ(back.Value("checked TFLizenz CBAnnehmen"), "1");
  EXPECT_EQ(back.Value("enabled TFLizenz BWeiter"), "1");
  installer.Kill();
}

// Enter on the focused OK closes the details dialog, and so does Escape.
TEST_F(Keyboard, EnterOnOkAndEscapeCloseTheDetailsDialog) {
  WineProgram installer = StartRelease();
  if (!ToAdvancedPage()) return;

  std::vector<std::string> commands = kOpenDetails;
  for (const char* command : {"focus TFDetails", "press TFDetails enter", "gone TFDetails 5000"})
    commands.push_back(command);
  commands.insert(commands.end(), kOpenDetails.begin(), kOpenDetails.end());
  for (const char* command :
       {"press TFDetails escape", "gone TFDetails 5000", "shown TFErweitert", "focus TFErweitert"})
    commands.push_back(command);
  DriverRun run = Step(commands);
  if (!run.ok()) return;
  EXPECT_EQ(run.Value("focus TFDetails"), "BClose");
  EXPECT_EQ(run.Value("shown TFErweitert"), "1");
  EXPECT_EQ(run.Value("focus TFErweitert"), "LVDateien");
  installer.Kill();
}

// Escape closes the About dialog, and Tab reaches its close button, which Enter presses; on
// the welcome page Escape still does nothing, not even ask whether to cancel.
TEST_F(Keyboard, EscapeAndEnterCloseTheAboutDialogButEscapeLeavesThePage) {
  WineProgram installer = StartRelease();

  DriverRun run = Step({"wait TFWillkommen 30000", "click TFWillkommen BInfo", "wait TFAbout 10000",
                        "press TFAbout escape", "gone TFAbout 5000", "click TFWillkommen BInfo",
                        "wait TFAbout 10000", "focus TFAbout", "press TFAbout tab", "focus TFAbout",
                        "press TFAbout enter", "gone TFAbout 5000", "press TFWillkommen escape",
                        "absent TMessageForm 1000", "shown TFWillkommen"});
  if (!run.ok()) return;
  EXPECT_EQ(run.Values("focus TFAbout"), (std::vector<std::string>{"BRReadme", "BClose"}));
  EXPECT_EQ(run.Value("shown TFWillkommen"), "1");
  installer.Kill();
}

// The maximised advanced page hands the place it returns to, not its maximised frame, to the
// page that follows it.
TEST_F(Keyboard, AMaximisedPageHandsOnItsRestoredPosition) {
  WineProgram installer = StartRelease();
  if (!ToAdvancedPage()) return;

  DriverRun run = Step({"rect TFErweitert", "maximize TFErweitert", "rect TFErweitert",
                        "click TFErweitert BZurueck", "wait TFMethode 10000", "rect TFMethode"});
  if (!run.ok()) return;
  const std::vector<std::string> advanced = run.Values("rect TFErweitert");
  const ScreenRect restored = ParseRect(advanced.at(0));
  const ScreenRect maximised = ParseRect(advanced.at(1));
  const ScreenRect method = ParseRect(run.Value("rect TFMethode"));
  EXPECT_LT(maximised.left, restored.left) << advanced.at(1);
  EXPECT_EQ(method.left, restored.left) << run.Value("rect TFMethode");
  EXPECT_EQ(method.top, restored.top) << run.Value("rect TFMethode");
  installer.Kill();
}

}  // namespace
}  // namespace e2e
