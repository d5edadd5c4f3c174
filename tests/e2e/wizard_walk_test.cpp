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
const std::string kMenuOpens = WaitFor("#32768", 5000);

std::string Count(int chosen, int total) {
  return std::to_string(chosen) + " " + Word(release::kWordOf) + " " + std::to_string(total);
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
        DriverRun licence =
            Step({WaitFor("TFWillkommen", 30000), FocusOf("TFWillkommen"),
                  Press("TFWillkommen", "space"), WaitFor("TFLizenz", 10000), FocusOf("TFLizenz"),
                  EnabledOf("TFLizenz", "BWeiter"), Press("TFLizenz", "down"), FocusOf("TFLizenz"),
                  CheckedOf("TFLizenz", "CBAnnehmen"), EnabledOf("TFLizenz", "BWeiter"),
                  Press("TFLizenz", "tab"), FocusOf("TFLizenz"), Click("TFLizenz", "BZurueck"),
                  WaitFor("TFWillkommen", 10000), Click("TFWillkommen", "BWeiter"),
                  WaitFor("TFLizenz", 10000), CheckedOf("TFLizenz", "CBAnnehmen"),
                  EnabledOf("TFLizenz", "BWeiter")},
                 "licence");
        if (!licence.ok()) return;
        EXPECT_EQ(licence.Value(FocusOf("TFWillkommen")), "BWeiter");
        EXPECT_EQ(licence.Values(FocusOf("TFLizenz")),
                  (std::vector<std::string>{"CBAblehnen", "CBAnnehmen", "BWeiter"}));
        EXPECT_EQ(licence.Values(EnabledOf("TFLizenz", "BWeiter")),
                  (std::vector<std::string>{"0", "1", "1"}));
        EXPECT_EQ(licence.Values(CheckedOf("TFLizenz", "CBAnnehmen")),
                  (std::vector<std::string>{"1", "1"}));

        // Tab reaches both choices of the method page before "Next".
        DriverRun method = Step({Click("TFLizenz", "BWeiter"), WaitFor("TFMethode", 10000),
                                 FocusOf("TFMethode"), Press("TFMethode", "down"),
                                 FocusOf("TFMethode"), CheckedOf("TFMethode", "CBAdvancedInstall"),
                                 Press("TFMethode", "tab"), FocusOf("TFMethode")},
                                "method");
        if (!method.ok()) return;
        EXPECT_EQ(method.Values(FocusOf("TFMethode")),
                  (std::vector<std::string>{"CBAutomaticInstall", "CBAdvancedInstall", "BWeiter"}));
        EXPECT_EQ(method.Value(CheckedOf("TFMethode", "CBAdvancedInstall")), "1");

        // Package 2 unmarked with the space bar; its details from the menu key, those of package 1
        // from Shift+F10.
        DriverRun packages = Step({Press("TFMethode", "space"),
                                   WaitFor("TFErweitert", 10000),
                                   FocusOf("TFErweitert"),
                                   Press("TFErweitert", "home"),
                                   Press("TFErweitert", "down"),
                                   Press("TFErweitert", "space"),
                                   RowCheckedOf("TFErweitert", "LVDateien", 1),
                                   TextOf("TFErweitert", "LSelectedItems"),
                                   Press("TFErweitert", "apps"),
                                   kMenuOpens,
                                   Press("TFErweitert", "down"),
                                   Press("TFErweitert", "down"),
                                   Press("TFErweitert", "enter"),
                                   WaitFor("TFDetails", 10000),
                                   TextOf("TFDetails", "LFile"),
                                   TextOf("TFDetails", "LWebLink"),
                                   Click("TFDetails", "BClose"),
                                   WaitGone("TFDetails", 5000),
                                   Press("TFErweitert", "up"),
                                   Press("TFErweitert", "shift+f10"),
                                   kMenuOpens,
                                   Press("TFErweitert", "down"),
                                   Press("TFErweitert", "down"),
                                   Press("TFErweitert", "enter"),
                                   WaitFor("TFDetails", 10000),
                                   TextOf("TFDetails", "LFile"),
                                   TextOf("TFDetails", "LWebLink"),
                                   Click("TFDetails", "BClose"),
                                   WaitGone("TFDetails", 5000)},
                                  "packages");
        if (!packages.ok()) return;
        EXPECT_EQ(packages.Value(FocusOf("TFErweitert")), "LVDateien");
        EXPECT_EQ(packages.Value(RowCheckedOf("TFErweitert", "LVDateien", 1)), "0");
        EXPECT_EQ(packages.Value(TextOf("TFErweitert", "LSelectedItems")),
                  Word(release::kWordSelectedPackages) + ": " + Count(3, 4));
        EXPECT_EQ(packages.Values(TextOf("TFDetails", "LFile")),
                  (std::vector<std::string>{"KB2.exe", "KB1.exe"}));
        EXPECT_EQ(packages.Values(TextOf("TFDetails", "LWebLink")),
                  (std::vector<std::string>{Word(release::kWordNoneGiven), PackageLink(1)}));

        // The options tab from the keyboard, the log option by a click.
        DriverRun options =
            Step({Press("TFErweitert", "ctrl+tab"), FocusOf("TFErweitert"),
                  Click("TFErweitert", "CBLoescheLogs"), CheckedOf("TFErweitert", "CBLoescheLogs"),
                  Click("TFErweitert", "BWeiter"), WaitFor("TFStart", 10000),
                  TextOf("TFStart", "LDateien"), TextOf("TFStart", "LLoescheLogs"),
                  TextOf("TFStart", "LAutoReboot")},
                 "summary");
        if (!options.ok()) return;
        EXPECT_EQ(options.Value(FocusOf("TFErweitert")), "CBAutoReboot");
        EXPECT_EQ(options.Value(CheckedOf("TFErweitert", "CBLoescheLogs")), "1");
        EXPECT_EQ(options.Value(TextOf("TFStart", "LDateien")), Count(3, 4));
        EXPECT_EQ(options.Value(TextOf("TFStart", "LLoescheLogs")), Word(release::kWordOptionOn));
        EXPECT_EQ(options.Value(TextOf("TFStart", "LAutoReboot")), Word(release::kWordOptionOff));

        // Back to the method page and forward again: every choice is still there.
        DriverRun again = Step(
            {Click("TFStart", "BZurueck"), WaitFor("TFErweitert", 10000),
             RowCheckedOf("TFErweitert", "LVDateien", 1),
             RowCheckedOf("TFErweitert", "LVDateien", 2), CheckedOf("TFErweitert", "CBLoescheLogs"),
             Click("TFErweitert", "BZurueck"), WaitFor("TFMethode", 10000),
             CheckedOf("TFMethode", "CBAdvancedInstall"), Click("TFMethode", "BWeiter"),
             WaitFor("TFErweitert", 10000), Click("TFErweitert", "BWeiter"),
             WaitFor("TFStart", 10000), TextOf("TFStart", "LDateien"), Click("TFStart", "BWeiter"),
             WaitFor("TFEnde", 60000)});
        if (!again.ok()) return;
        EXPECT_EQ(again.Value(RowCheckedOf("TFErweitert", "LVDateien", 1)), "0");
        EXPECT_EQ(again.Value(RowCheckedOf("TFErweitert", "LVDateien", 2)), "1");
        EXPECT_EQ(again.Value(CheckedOf("TFErweitert", "CBLoescheLogs")), "1");
        EXPECT_EQ(again.Value(CheckedOf("TFMethode", "CBAdvancedInstall")), "1");
        EXPECT_EQ(again.Value(TextOf("TFStart", "LDateien")), Count(3, 4));

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
    DriverRun run = Step({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BWeiter"),
                          WaitFor("TFMethode", 10000), Click("TFMethode", "CBAdvancedInstall"),
                          Click("TFMethode", "BWeiter"), WaitFor("TFErweitert", 10000),
                          Click("TFErweitert", "Button2"), TextOf("TFErweitert", "LSelectedItems"),
                          Click("TFErweitert", "BZurueck"), WaitFor("TFMethode", 10000),
                          Click("TFMethode", "CBAutomaticInstall"), Click("TFMethode", "BWeiter"),
                          WaitFor("TFEnde", 60000)});
    if (!run.ok()) return;
    EXPECT_EQ(run.Value(TextOf("TFErweitert", "LSelectedItems")),
              Word(release::kWordSelectedPackages) + ": " + Count(0, 4));
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
      Step({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BInfo"),
            WaitFor("TFAbout", 10000), CaptionOf("TFAbout"), TextOf("TFAbout", "LRWebsite"),
            VisibleOf("TFAbout", "BRReadme"), FocusOf("TFAbout"), Press("TFAbout", "ctrl+tab"),
            FocusOf("TFAbout"), VisibleOf("TFAbout", "LProgrammName"),
            VisibleOf("TFAbout", "BRReadme"), Press("TFAbout", "ctrl+tab"),
            Click("TFAbout", "BRReadme"), WaitFor("Notepad", 20000), CaptionOf("Notepad")},
           "about");
  if (run.ok()) {
    EXPECT_EQ(run.Value(CaptionOf("TFAbout")),
              Word(release::kWordAboutCaption) + " " + settings.name + "...");
    EXPECT_EQ(run.Value(TextOf("TFAbout", "LRWebsite")), "https://example.org/");
    // Ctrl+Tab shows the other sheet; without a control of its own the focus goes to the tabs.
    EXPECT_EQ(run.Values(FocusOf("TFAbout")), (std::vector<std::string>{"BRReadme", "PC1"}));
    EXPECT_EQ(run.Values(VisibleOf("TFAbout", "BRReadme")), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(run.Value(VisibleOf("TFAbout", "LProgrammName")), "1");
    EXPECT_NE(run.Value(CaptionOf("Notepad")).find("Readme.txt"), std::string::npos)
        << run.Value(CaptionOf("Notepad"));
  }
  Drive({"terminate Notepad"});
  installer.Kill();
}

}  // namespace
}  // namespace e2e
