// Where the packages found installed show: evaluated on the worker at start
// without holding up the welcome page, passed over by the automatic method,
// "/silent" and a continued run, unchecked and marked on the advanced page,
// named in the log with their rule and counted on the finish page.
#include <gtest/gtest.h>

#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "release_fixture.h"
#include "wizard/summary_page.h"

namespace {

constexpr char kStore[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";

class DetectionRun : public test::ReleaseFixture {
 protected:
  // Three packages; package 2 is found installed by its rule.
  void UseReleaseWithInstalledSecond(const std::string& defaults = "") {
    UseRelease(3, defaults, {{1, "Detect=KB1"}, {2, "Detect=KB2"}});
    const std::string package = "Package_for_KB2~31bf3856ad364e35~amd64~~6.1.1.0";
    system.machine_keys[kStore] = {package};
    system.machine_values[std::string(kStore) + "\\" + package]["CurrentState"] =
        std::uint32_t{112};
  }
  std::vector<std::string> Started() const {
    std::vector<std::string> started;
    for (const auto& run : system.runs) {
      started.push_back(run.command_line.substr(run.command_line.rfind('\\') + 1));
    }
    return started;
  }
  void FinishAll() {
    while (system.FinishWorker()) {
    }
  }
  std::string Log() { return system.files["C:\\Temp\\Installer.log"]; }
  engine::TFKopieren& Install() { return *Pages().FKopieren; }
  finish::TFEnde& Finish() { return *Pages().FEnde; }
  wizard::TFErweitert& Advanced() { return *Pages().FErweitert; }
  // Welcome page, advanced method, and the rules evaluated: the advanced page stands.
  void ReachTheAdvancedPage() {
    StartAndDecide();
    Pages().FWillkommen->BWeiter.Click();
    Pages().FMethode->CBAdvancedInstall.Click();
    Pages().FMethode->BWeiter.Click();
    FinishPackage();
  }
};

TEST_F(DetectionRun, AReleaseWithoutRulesEvaluatesNothing) {
  UseRelease(2);
  StartAndDecide();
  EXPECT_TRUE(system.workers.empty());
  EXPECT_EQ(Log().find("Erkennungsregeln"), std::string::npos);
}

TEST_F(DetectionRun, TheWelcomePageDoesNotWaitAndTheLogNamesWhatWasFound) {
  UseReleaseWithInstalledSecond();
  StartAndDecide();
  EXPECT_TRUE(Pages().FWillkommen->Visible());
  ASSERT_EQ(system.workers.size(), 1u);  // the rules are still being evaluated
  EXPECT_EQ(Log().find("Erkennungsregeln"), std::string::npos);
  FinishPackage();
  const std::string log = Log();
  EXPECT_NE(log.find("Erkennungsregeln von 2 Paketen geprüft: 1 bereits installiert"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Paket 2 (Package 2): bereits installiert laut Detect=KB2 "
                     "(Komponentenspeicher: Package_for_KB2~31bf3856ad364e35~amd64~~6.1.1.0)"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("Paket 1 (Package 1): bereits"), std::string::npos) << log;
  EXPECT_TRUE(system.runs.empty());
}

// A release pushed again to machines that have it installs nothing and
// restarts nothing: a silent run (with its automatic restart) ends by itself
// with 0, and the wizard's finish page offers no restart.
TEST_F(DetectionRun, ARunThatInstallsNothingRestartsNothing) {
  for (const bool silent : {true, false}) {
    SCOPED_TRACE(silent ? "silent" : "wizard");
    test::Program program{system};
    UseRelease(2, "AutoReboot=1", {{1, "Detect=KB1"}, {2, "Detect=KB2"}});
    system.machine_keys[kStore] = {};
    for (const char* kb : {"KB1", "KB2"}) {
      const std::string package =
          std::string("Package_for_") + kb + "~31bf3856ad364e35~amd64~~6.1.1.0";
      system.machine_keys[kStore].push_back(package);
      system.machine_values[std::string(kStore) + "\\" + package]["CurrentState"] =
          std::uint32_t{112};
    }
    system.arguments = silent ? std::vector<std::string>{"/silent"} : std::vector<std::string>{};
    app::TFMain& main = program.Start();
    main.TStart.Tick();
    if (!silent) main.context.forms.FWillkommen->BWeiter.Click();
    while (system.FinishWorker()) {
    }
    const finish::TFEnde& finish = *main.context.forms.FEnde;
    EXPECT_TRUE(system.runs.empty());
    EXPECT_FALSE(main.context.forms.FAutoReboot->Visible());
    EXPECT_TRUE(finish.CBNichtNeustarten.Checked());
    EXPECT_FALSE(finish.CBNichtNeustarten.Enabled());
    EXPECT_EQ(program.application.Terminated(), silent);
    EXPECT_EQ(program.application.ExitCode(), 0);
    EXPECT_EQ(system.restart_requests, 0);
  }
}

TEST_F(DetectionRun, SilentRunPassesOverTheInstalledPackageAndCountsIt) {
  UseReleaseWithInstalledSecond();
  system.arguments = {"/silent", "/norestart"};
  StartAndDecide();
  EXPECT_TRUE(Install().Visible());
  EXPECT_TRUE(system.runs.empty());
  FinishPackage();  // the rules: now the first package starts
  EXPECT_EQ(Install().TotalCount, 2);
  EXPECT_EQ(Install().LKopierStatus.Caption().find("W68 1 W33 2"), 0u)
      << Install().LKopierStatus.Caption();
  FinishPackage();
  EXPECT_EQ(Install().LKopierStatus.Caption().find("W68 2 W33 2"), 0u);
  EXPECT_EQ(Install().ProgressBar.Position(), 50);
  FinishAll();
  EXPECT_EQ(Started(), (std::vector<std::string>{"pkg1.exe\" /q1", "pkg3.exe\" /q3"}));
  EXPECT_NE(Log().find("Paket 2 (Package 2): bereits installiert laut Detect=KB2, nicht gestartet"),
            std::string::npos)
      << Log();
  EXPECT_NE(Finish().LText.Caption().find("1 bereits installiert\r\rFertig"), std::string::npos)
      << Finish().LText.Caption();
  EXPECT_EQ(Finish().LHinweis->Caption(), "W44");
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
}

TEST_F(DetectionRun, AutomaticInstallationWaitsForTheRulesOnItsPage) {
  UseReleaseWithInstalledSecond();
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_TRUE(Install().Visible());
  EXPECT_TRUE(system.runs.empty());
  FinishAll();
  EXPECT_EQ(Started(), (std::vector<std::string>{"pkg1.exe\" /q1", "pkg3.exe\" /q3"}));
  EXPECT_EQ(main->context.Run().FoundInstalled(), 1);
}

TEST_F(DetectionRun, AlreadyInstalledExitCodeCountsWithTheFoundPackages) {
  UseReleaseWithInstalledSecond();
  system.exit_codes["pkg3.exe"] = 0x00240006;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishAll();
  EXPECT_EQ(Started().size(), 2u);
  EXPECT_EQ(main->context.Run().FoundInstalled(), 2);
  EXPECT_NE(Finish().LText.Caption().find("2 bereits installiert"), std::string::npos);
  EXPECT_TRUE(main->context.Run().Failures().empty());
}

TEST_F(DetectionRun, CancelWhileTheRulesAreEvaluatedStartsNothing) {
  UseReleaseWithInstalledSecond();
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  dialogs.answer = true;
  Install().BAbbrechen.Click();
  FinishAll();
  EXPECT_TRUE(system.runs.empty());
  EXPECT_TRUE(Finish().Visible());
  EXPECT_EQ(main->context.Run().ExitCode(), 1602);
}

TEST_F(DetectionRun, AdvancedPageWaitsAndShowsTheInstalledPackageUncheckedAndMarked) {
  UseReleaseWithInstalledSecond("AllowAdvanced=1");
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  wizard::TFMethode& method = *Pages().FMethode;
  method.CBAdvancedInstall.Click();
  method.BWeiter.Click();
  EXPECT_TRUE(method.Visible());  // the rules are not evaluated yet
  method.BZurueck.Click();        // waits too
  method.BWeiter.Click();
  EXPECT_TRUE(method.Visible());
  EXPECT_FALSE(Pages().FWillkommen->Visible());
  FinishPackage();
  ASSERT_TRUE(Advanced().Visible());
  EXPECT_TRUE(method.BWeiter.Enabled());
  const ui::ListView& list = Advanced().LVDateien;
  EXPECT_TRUE(list.ItemChecked(0));
  EXPECT_FALSE(list.ItemChecked(1));
  EXPECT_TRUE(list.ItemChecked(2));
  EXPECT_EQ(list.ItemCaption(0), "Package 1");
  EXPECT_EQ(list.ItemCaption(1), "Package 2 (bereits installiert)");
  EXPECT_EQ(Advanced().LSelectedItems.Caption(), "W24: 2 W33 3");
  Advanced().BWeiter.Click();
  Pages().FStart->BWeiter.Click();
  FinishAll();
  EXPECT_EQ(Started(), (std::vector<std::string>{"pkg1.exe\" /q1", "pkg3.exe\" /q3"}));
  EXPECT_EQ(main->context.Run().FoundInstalled(), 1);
}

// The user's choice stands: a package checked again runs, and the automatic
// method chosen after a look at the advanced page still leaves it out.
TEST_F(DetectionRun, APackageCheckedAgainRuns) {
  UseReleaseWithInstalledSecond("AllowAdvanced=1");
  ReachTheAdvancedPage();
  Advanced().Button1.Click();  // all rows
  Advanced().BWeiter.Click();
  Pages().FStart->BWeiter.Click();
  FinishAll();
  EXPECT_EQ(Started().size(), 3u);
  EXPECT_EQ(main->context.Run().FoundInstalled(), 0);
}

TEST_F(DetectionRun, AutomaticMethodAfterTheAdvancedPageLeavesTheInstalledOut) {
  UseReleaseWithInstalledSecond("AllowAdvanced=1");
  ReachTheAdvancedPage();
  Advanced().Button2.Click();  // no rows
  Advanced().BZurueck.Click();
  Pages().FMethode->CBAutomaticInstall.Click();
  Pages().FMethode->BWeiter.Click();
  FinishAll();
  EXPECT_EQ(Started(), (std::vector<std::string>{"pkg1.exe\" /q1", "pkg3.exe\" /q3"}));
  EXPECT_EQ(main->context.Run().FoundInstalled(), 1);
}

// The rules are evaluated anew after the restart: a package installed
// meanwhile is left out of the continuation and of the run's total.
TEST_F(DetectionRun, ContinuedRunLeavesOutWhatIsInstalledNow) {
  UseReleaseWithInstalledSecond();
  system.files[ContinuationPath()] = "4\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n2\r\n";
  StartAndDecide();
  FinishPackage();  // the rules
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 1");
  EXPECT_EQ(Install().TotalCount, 3);  // one package ran before the restart
  EXPECT_EQ(Install().CurrentNumber, 2);
  FinishPackage();
  EXPECT_EQ(system.files[ContinuationPath()], "3\r\n0\r\n0\r\n0\r\n0\r\n2\r\n");
  EXPECT_EQ(Install().CurrentNumber, 3);
  FinishAll();
  EXPECT_EQ(Started(), (std::vector<std::string>{"pkg1.exe\" /q1", "pkg3.exe\" /q3"}));
  EXPECT_EQ(main->context.Run().FoundInstalled(), 1);
}

TEST_F(DetectionRun, UnreadableAndMalformedRulesRunThePackageAndTheLogSaysWhy) {
  UseRelease(3, "", {{1, "Detect=reg:HKLM\\SOFTWARE\\Locked"}, {2, "Detect=KB-12"}});
  system.unreadable_keys["SOFTWARE\\Locked"] = "Zugriff verweigert";
  system.arguments = {"/silent", "/norestart"};
  StartAndDecide();
  FinishAll();
  EXPECT_EQ(Started().size(), 3u);
  const std::string log = Log();
  EXPECT_NE(log.find("Paket 1 (Package 1): Detect=reg:HKLM\\SOFTWARE\\Locked nicht lesbar, gilt "
                     "als nicht installiert (HKLM\\SOFTWARE\\Locked: Zugriff verweigert)"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Paket 2 (Package 2): Detect=KB-12 nicht lesbar, gilt als nicht installiert "
                     "(fehlerhafte Regel: nach KB stehen nicht nur Ziffern)"),
            std::string::npos)
      << log;
  EXPECT_EQ(Finish().LText.Caption().find("bereits installiert"), std::string::npos);
  EXPECT_EQ(application.ExitCode(), 0);
}

}  // namespace
