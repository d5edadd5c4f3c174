// The wizard walked as a user walks it, by mouse and by keyboard, on releases whose probe
// packages really install: what the user chooses is what runs.
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "harness/install_test.h"
#include "harness/release_folder.h"

namespace e2e {
namespace {

using std::chrono::seconds;

// Waits for a context menu: a window of the system's menu class.
const char kMenuOpens[] = "wait #32768 5000";

std::string Count(int chosen, int total) {
  return std::to_string(chosen) + " " + Word(33) + " " + std::to_string(total);
}

class WizardWalk : public InstallTest {
 protected:
  // Four probes, each leaving a log in the Windows folder but the last.
  static InstallRelease FourPackages() {
    InstallRelease release;
    release.texts.allow_advanced = true;
    release.packages = {{"KB1.exe", "/q", "E2E-Walk-KB1.log"},
                        {"KB2.exe", "/q", "E2E-Walk-KB2.log"},
                        {"KB3.exe", "/q", "E2E-Walk-KB3.log"},
                        {"KB4.exe", "/q"}};
    release.packages[1].link = false;
    return release;
  }

  void ForgetLogs(const InstallRelease& release) {
    for (const TestPackage& package : release.packages)
      if (!package.logfile.empty()) ForgetLog(package.logfile);
  }

  // The release made in `folder`, without the logs of an earlier run, started in the wizard.
  WineProgram StartFresh(const InstallRelease& release, const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    ForgetLogs(release);
    return wine().Start(exe.string(), {});
  }

  bool LogLeft(const TestPackage& package) {
    return fs::exists(wine().windows_dir() / package.logfile);
  }

  // Drives, fails the test with the driver's report when a command failed, and returns the run.
  DriverRun Step(const std::vector<std::string>& commands, const std::string& screenshot = {}) {
    DriverRun run = Drive(commands);
    if (!screenshot.empty()) wine().Screenshot("WizardWalk-" + screenshot);
    EXPECT_TRUE(run.ok()) << run.Report();
    return run;
  }
};

// Welcome, licence (Back and again), method, packages, options, summary, Back to the method
// and forward again, installation: with the keyboard where a user would use it.
TEST_F(WizardWalk, UserDefinedWalkInstallsTheChosenPackagesWithTheChosenOptions) {
  InstallRelease release = FourPackages();
  release.texts.license = {"Lizenzbedingungen für den Test – bitte lesen.", "Zweite Zeile."};
  RetryOnLostStart(
      release.ProbeNames(), {"KB1.exe", "KB3.exe", "KB4.exe"}, [&](const fs::path& folder) {
        WineProgram installer = StartFresh(release, folder);

        // The licence holds Next back until the user agrees; Back returns to the welcome page,
        // and the agreement stays.
        DriverRun licence = Step(
            {"wait TFWillkommen 30000", "focus TFWillkommen", "press TFWillkommen space",
             "wait TFLizenz 10000", "focus TFLizenz", "enabled TFLizenz BWeiter",
             "press TFLizenz down", "focus TFLizenz", "checked TFLizenz CBAnnehmen",
             "enabled TFLizenz BWeiter", "press TFLizenz tab", "focus TFLizenz",
             "click TFLizenz BZurueck", "wait TFWillkommen 10000", "click TFWillkommen BWeiter",
             "wait TFLizenz 10000", "checked TFLizenz CBAnnehmen", "enabled TFLizenz BWeiter"},
            "licence");
        if (!licence.ok()) return;
        EXPECT_EQ(licence.Value("focus TFWillkommen"), "BWeiter");
        EXPECT_EQ(licence.Values("focus TFLizenz"),
                  (std::vector<std::string>{"CBAblehnen", "CBAnnehmen", "BWeiter"}));
        EXPECT_EQ(licence.Values("enabled TFLizenz BWeiter"),
                  (std::vector<std::string>{"0", "1", "1"}));
        EXPECT_EQ(licence.Values("checked TFLizenz CBAnnehmen"),
                  (std::vector<std::string>{"1", "1"}));

        // Tab reaches both choices of the method page before "Next".
        DriverRun method =
            Step({"click TFLizenz BWeiter", "wait TFMethode 10000", "focus TFMethode",
                  "press TFMethode down", "focus TFMethode", "checked TFMethode CBAdvancedInstall",
                  "press TFMethode tab", "focus TFMethode"},
                 "method");
        if (!method.ok()) return;
        EXPECT_EQ(method.Values("focus TFMethode"),
                  (std::vector<std::string>{"CBAutomaticInstall", "CBAdvancedInstall", "BWeiter"}));
        EXPECT_EQ(method.Value("checked TFMethode CBAdvancedInstall"), "1");

        // Package 2 unmarked with the space bar; its details from the menu key, those of package 1
        // from Shift+F10.
        DriverRun packages = Step({"press TFMethode space",
                                   "wait TFErweitert 10000",
                                   "focus TFErweitert",
                                   "press TFErweitert home",
                                   "press TFErweitert down",
                                   "press TFErweitert space",
                                   "rowchecked TFErweitert LVDateien 1",
                                   "text TFErweitert LSelectedItems",
                                   "press TFErweitert apps",
                                   kMenuOpens,
                                   "press TFErweitert down",
                                   "press TFErweitert down",
                                   "press TFErweitert enter",
                                   "wait TFDetails 10000",
                                   "text TFDetails LFile",
                                   "text TFDetails LWebLink",
                                   "click TFDetails BClose",
                                   "gone TFDetails 5000",
                                   "press TFErweitert up",
                                   "press TFErweitert shift+f10",
                                   kMenuOpens,
                                   "press TFErweitert down",
                                   "press TFErweitert down",
                                   "press TFErweitert enter",
                                   "wait TFDetails 10000",
                                   "text TFDetails LFile",
                                   "text TFDetails LWebLink",
                                   "click TFDetails BClose",
                                   "gone TFDetails 5000"},
                                  "packages");
        if (!packages.ok()) return;
        EXPECT_EQ(packages.Value("focus TFErweitert"), "LVDateien");
        EXPECT_EQ(packages.Value("rowchecked TFErweitert LVDateien 1"), "0");
        EXPECT_EQ(packages.Value("text TFErweitert LSelectedItems"), Word(24) + ": " + Count(3, 4));
        EXPECT_EQ(packages.Values("text TFDetails LFile"),
                  (std::vector<std::string>{"KB2.exe", "KB1.exe"}));
        EXPECT_EQ(packages.Values("text TFDetails LWebLink"),
                  (std::vector<std::string>{Word(53), PackageLink(1)}));

        // The options tab from the keyboard, the log option by a click.
        DriverRun options = Step(
            {"press TFErweitert ctrl+tab", "focus TFErweitert", "click TFErweitert CBLoescheLogs",
             "checked TFErweitert CBLoescheLogs", "click TFErweitert BWeiter", "wait TFStart 10000",
             "text TFStart LDateien", "text TFStart LLoescheLogs", "text TFStart LAutoReboot"},
            "summary");
        if (!options.ok()) return;
        EXPECT_EQ(options.Value("focus TFErweitert"), "CBAutoReboot");
        EXPECT_EQ(options.Value("checked TFErweitert CBLoescheLogs"), "1");
        EXPECT_EQ(options.Value("text TFStart LDateien"), Count(3, 4));
        EXPECT_EQ(options.Value("text TFStart LLoescheLogs"), Word(66));
        EXPECT_EQ(options.Value("text TFStart LAutoReboot"), Word(67));

        // Back to the method page and forward again: every choice is still there.
        DriverRun again =
            Step({"click TFStart BZurueck", "wait TFErweitert 10000",
                  "rowchecked TFErweitert LVDateien 1", "rowchecked TFErweitert LVDateien 2",
                  "checked TFErweitert CBLoescheLogs", "click TFErweitert BZurueck",
                  "wait TFMethode 10000", "checked TFMethode CBAdvancedInstall",
                  "click TFMethode BWeiter", "wait TFErweitert 10000", "click TFErweitert BWeiter",
                  "wait TFStart 10000", "text TFStart LDateien", "click TFStart BWeiter",
                  "wait TFEnde 60000"});
        if (!again.ok()) return;
        EXPECT_EQ(again.Value("rowchecked TFErweitert LVDateien 1"), "0");
        EXPECT_EQ(again.Value("rowchecked TFErweitert LVDateien 2"), "1");
        EXPECT_EQ(again.Value("checked TFErweitert CBLoescheLogs"), "1");
        EXPECT_EQ(again.Value("checked TFMethode CBAdvancedInstall"), "1");
        EXPECT_EQ(again.Value("text TFStart LDateien"), Count(3, 4));

        EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
                  (std::vector<std::string>{"KB1.exe", "KB3.exe", "KB4.exe"}));
        EXPECT_FALSE(LogLeft(release.packages[0])) << "the log of KB1 was not deleted";
        EXPECT_FALSE(LogLeft(release.packages[2])) << "the log of KB3 was not deleted";
        installer.Kill();
      });
}

// The automatic method installs every package, whatever the list's marks say.
TEST_F(WizardWalk, AutomaticMethodInstallsEveryPackageWhateverTheMarks) {
  InstallRelease release = FourPackages();
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    WineProgram installer = StartFresh(release, folder);
    DriverRun run = Step(
        {"wait TFWillkommen 30000", "click TFWillkommen BWeiter", "wait TFMethode 10000",
         "click TFMethode CBAdvancedInstall", "click TFMethode BWeiter", "wait TFErweitert 10000",
         "click TFErweitert Button2", "text TFErweitert LSelectedItems",
         "click TFErweitert BZurueck", "wait TFMethode 10000", "click TFMethode CBAutomaticInstall",
         "click TFMethode BWeiter", "wait TFEnde 60000"});
    if (!run.ok()) return;
    EXPECT_EQ(run.Value("text TFErweitert LSelectedItems"), Word(24) + ": " + Count(0, 4));
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
    installer.Kill();
  });
}

// The About dialog of a release in a folder with blanks: both tabs, the website, and the
// read-me in Notepad.
TEST_F(WizardWalk, AboutDialogShowsBothTabsAndOpensTheReadMeInNotepad) {
  ReleaseSettings settings;
  ReleaseFiles files;
  files.settings = settings.Text();
  const fs::path exe = MakeRelease(work_dir() / "Release mit Leerzeichen", files);
  std::ofstream(exe.parent_path() / "Readme.txt", std::ios::binary) << "Lies mich.\r\n";
  WineProgram installer = wine().Start(exe.string(), {});

  DriverRun run =
      Step({"wait TFWillkommen 30000", "click TFWillkommen BInfo", "wait TFAbout 10000",
            "caption TFAbout", "text TFAbout LRWebsite", "visible TFAbout BRReadme",
            "focus TFAbout", "press TFAbout ctrl+tab", "focus TFAbout",
            "visible TFAbout LProgrammName", "visible TFAbout BRReadme", "press TFAbout ctrl+tab",
            "click TFAbout BRReadme", "wait Notepad 20000", "caption Notepad"},
           "about");
  if (run.ok()) {
    EXPECT_EQ(run.Value("caption TFAbout"), Word(59) + " " + settings.name + "...");
    EXPECT_EQ(run.Value("text TFAbout LRWebsite"), "https://example.org/");
    // Ctrl+Tab shows the other sheet; without a control of its own the focus goes to the tabs.
    EXPECT_EQ(run.Values("focus TFAbout"), (std::vector<std::string>{"BRReadme", "PC1"}));
    EXPECT_EQ(run.Values("visible TFAbout BRReadme"), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(run.Value("visible TFAbout LProgrammName"), "1");
    EXPECT_NE(run.Value("caption Notepad").find("Readme.txt"), std::string::npos)
        << run.Value("caption Notepad");
  }
  Drive({"terminate Notepad"});
  installer.Kill();
}

}  // namespace
}  // namespace e2e
