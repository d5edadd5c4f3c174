// What the packages' exit codes make of a run: the restart they ask for,
// the failures the finish page names, and the program's exit code.
#include <gtest/gtest.h>

#include "finish/finish_page.h"
#include "frame/continuation.h"
#include "release_fixture.h"

namespace {

class PackageOutcomes : public test::ReleaseFixture {
 protected:
  finish::TFEnde& Finish() { return *Pages().FEnde; }

  // Runs every package to its end from the wizard's first page.
  void RunAll() {
    StartAndDecide();
    Pages().FWillkommen->BWeiter.Click();
    while (system.FinishWorker()) {
    }
  }

  // Closes the finish page without a restart: the program ends.
  int EndWithoutRestart() {
    Finish().CBNichtNeustarten.Click();
    Finish().Close();
    EXPECT_TRUE(application.Terminated());
    return application.ExitCode();
  }
};

TEST_F(PackageOutcomes, AFailureInTheMiddleLetsTheRunGoOnAndIsNamed) {
  UseRelease(3, "", {{3, "File=gone.exe"}});
  system.exit_codes["pkg2.exe"] = 1603;
  RunAll();
  EXPECT_EQ(system.runs.size(), 2u);  // package 3 is missing, the run ends all the same
  ASSERT_TRUE(Finish().Visible());
  const std::string heading =
      "Die Installation wurde abgeschlossen, aber nicht alle Dateien konnten installiert werden:";
  EXPECT_EQ(Finish().LHinweis->Caption(), heading);
  EXPECT_EQ(Finish().LText.Caption().rfind(heading + "\r- Package 2 (Fehlercode 1603)\r"
                                                     "- Package 3 (nicht gestartet: Die Datei "
                                                     "C:\\Release\\Data\\gone.exe fehlt.)\r",
                                           0),
            0u)
      << Finish().LText.Caption();
  EXPECT_EQ(EndWithoutRestart(), 1603);
}

TEST_F(PackageOutcomes, ALongListOfFailuresIsCut) {
  UseRelease(7);
  for (int i = 1; i <= 7; ++i) system.exit_codes["pkg" + std::to_string(i) + ".exe"] = 1;
  RunAll();
  const std::string text = Finish().LText.Caption();
  EXPECT_NE(text.find("- Package 5 (Fehlercode 1)\r…\r"), std::string::npos) << text;
  EXPECT_EQ(text.find("Package 6"), std::string::npos) << text;
}

TEST_F(PackageOutcomes, AlreadyInstalledIsNoFailure) {
  UseRelease(1);
  system.exit_codes["pkg1.exe"] = 0x00240006;
  RunAll();
  EXPECT_EQ(Finish().LHinweis->Caption(), "W44");
  EXPECT_EQ(EndWithoutRestart(), 0);
}

// The update does not apply to this system: no failure, and no restart
// even where the package's Restart value asks for one.
TEST_F(PackageOutcomes, NotApplicableIsListedApartAndIsNoFailure) {
  UseRelease(3, "", {{2, "Restart=1"}});
  system.exit_codes["pkg2.exe"] = 0x80240017;
  RunAll();
  EXPECT_EQ(system.runs.size(), 3u);
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
  ASSERT_TRUE(Finish().Visible());
  EXPECT_EQ(Finish().LHinweis->Caption(), "W44");
  EXPECT_EQ(Finish().LText.Caption(), "- Package 2 (nicht zutreffend)\r\rFertig\r\r\rW46");
  const std::string log = system.files["C:\\Temp\\Installer.log"];
  EXPECT_NE(
      log.find("Paket 2 (Package 2): nicht zutreffend, Exitcode -2145124329 (0x80240017)\r\n"),
      std::string::npos)
      << log;
  EXPECT_NE(log.find("Nicht zutreffend für dieses System: Package 2\r\n"), std::string::npos)
      << log;
  EXPECT_EQ(EndWithoutRestart(), 0);
}

TEST_F(PackageOutcomes, NotApplicableStandsApartFromTheFailures) {
  UseRelease(4);
  system.exit_codes["pkg1.exe"] = 0x80240017;
  system.exit_codes["pkg2.exe"] = 1603;
  system.exit_codes["pkg4.exe"] = 0x80240017;
  SetLanguage("[Words]\n113=not applicable\n");
  RunAll();
  const std::string heading =
      "Die Installation wurde abgeschlossen, aber nicht alle Dateien konnten installiert werden:";
  EXPECT_EQ(Finish().LHinweis->Caption(), heading);
  EXPECT_EQ(Finish().LText.Caption(),
            heading + "\r- Package 2 (Fehlercode 1603)\r\r" +
                "- Package 1 (not applicable)\r- Package 4 (not applicable)\r\r" +
                "Fertig\r\r\rError in Language File");
  EXPECT_NE(system.files["C:\\Temp\\Installer.log"].find(
                "Nicht zutreffend für dieses System: Package 1, Package 4"),
            std::string::npos);
  EXPECT_EQ(EndWithoutRestart(), 1603);
}

// A continued run reports the packages of both halves that did not apply.
TEST_F(PackageOutcomes, NotApplicableBeforeTheRestartIsListedAfterIt) {
  UseRelease(3, "AutoReboot=1", {{2, "Restart=1"}});
  system.exit_codes["pkg1.exe"] = 0x80240017;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  FinishPackage();
  ASSERT_EQ(system.restart_requests, 1);  // before package 3
  const std::string beside = ContinuationPath() + ".notapplicable";
  EXPECT_EQ(system.files[beside], "Package 1\r\n");

  test::Program after_logon{system};
  app::TFMain& main = after_logon.Start();
  main.TStart.Tick();
  ASSERT_TRUE(system.FinishWorker());
  const finish::TFEnde& finish = *main.context.forms.FEnde;
  ASSERT_TRUE(finish.Visible());
  EXPECT_EQ(finish.LText.Caption().rfind("- Package 1 (nicht zutreffend)\r\r", 0), 0u)
      << finish.LText.Caption();
  EXPECT_EQ(main.context.Run().ExitCode(), 0);
  EXPECT_FALSE(system.FileExists(beside)) << "the run is over, its state must go";
}

TEST(NotApplicable, NamesAreReadBackAsWrittenWithoutEmptyLines) {
  const std::string text = frame::NamesText({"Paket\tmit Tab", "Zweites"});
  EXPECT_EQ(text, "Paket mit Tab\r\nZweites\r\n");
  EXPECT_EQ(frame::ReadNames(text + "\r\n\nDrittes"),
            (std::vector<std::string>{"Paket mit Tab", "Zweites", "Drittes"}));
  EXPECT_TRUE(frame::ReadNames("").empty());
}

TEST_F(PackageOutcomes, RestartNeededHandsOverBeforeTheNextPackage) {
  for (const std::uint32_t code : {3010u, 3011u, 0x00240005u, 0x80070BC2u}) {
    test::Program fresh{system};
    UseRelease(3, "AutoReboot=1");
    system.files.erase(ContinuationPath());
    system.runs.clear();
    system.restart_requests = 0;
    system.exit_codes = {{"pkg1.exe", code}};
    app::TFMain& m = fresh.Start();
    m.TStart.Tick();
    m.context.forms.FWillkommen->BWeiter.Click();
    system.FinishWorker();
    EXPECT_EQ(system.runs.size(), 1u) << code;
    EXPECT_TRUE(system.workers.empty()) << code;
    EXPECT_EQ(system.files[ContinuationPath()], "3\r\n1\r\n0\r\n0\r\n0\r\n1\r\n2\r\n") << code;
    EXPECT_EQ(system.restart_requests, 1) << code;
  }
}

TEST_F(PackageOutcomes, APackageThatStartsTheRestartItselfLeavesTheRunToGoOnAfterIt) {
  UseRelease(3);
  system.exit_codes["pkg1.exe"] = 1641;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  system.FinishWorker();
  EXPECT_TRUE(system.workers.empty());
  EXPECT_EQ(system.files[ContinuationPath()], "3\r\n0\r\n0\r\n0\r\n0\r\n1\r\n2\r\n");
  EXPECT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(system.restart_requests, 0);  // the package's own restart is under way
  EXPECT_TRUE(main->context.Run().Restarting());
  EXPECT_EQ(main->context.Run().ExitCode(), 1641);

  // If nothing ends the session after all, the run says so and waits for the next restart.
  application.SessionEndCancelled();
  EXPECT_TRUE(Finish().Visible());
  EXPECT_TRUE(system.FileExists(ContinuationPath()));
}

// The package before the last one: the last waits for the restart.
TEST_F(PackageOutcomes, APackageBeforeTheLastThatStartsTheRestartKeepsTheLastForAfterIt) {
  UseRelease(2);
  system.exit_codes["pkg1.exe"] = 1641;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  EXPECT_TRUE(system.workers.empty());
  EXPECT_EQ(system.runs.size(), 1u);
  EXPECT_EQ(system.files[ContinuationPath()], "2\r\n0\r\n0\r\n0\r\n0\r\n1\r\n");
  EXPECT_FALSE(Finish().Visible());
}

// A continued run reports the outcome of the whole run, both halves.
TEST_F(PackageOutcomes, FailuresBeforeTheRestartCountAfterIt) {
  UseRelease(4, "AutoReboot=1", {{3, "Restart=1"}});
  system.exit_codes["pkg2.exe"] = 1603;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  for (int package = 1; package <= 3; ++package) FinishPackage();
  ASSERT_EQ(system.restart_requests, 1);  // before package 4
  EXPECT_EQ(system.files[ContinuationPath()], "4\r\n1\r\n0\r\n0\r\n0\r\n3\r\n");
  EXPECT_EQ(system.files[ContinuationPath() + ".failed"], "1\t1603\tPackage 2\t\r\n");

  test::Program after_logon{system};
  app::TFMain& main = after_logon.Start();
  main.TStart.Tick();
  ASSERT_TRUE(system.FinishWorker());  // package 4
  const finish::TFEnde& finish = *main.context.forms.FEnde;
  ASSERT_TRUE(finish.Visible());
  EXPECT_NE(finish.LText.Caption().find("- Package 2 (Fehlercode 1603)"), std::string::npos);
  EXPECT_EQ(main.context.Run().ExitCode(), 1603);
  EXPECT_FALSE(system.FileExists(ContinuationPath() + ".failed"));  // the run is over

  // Both halves in one log, in the order they happened.
  main.context.CloseProgram();
  const std::string log = system.files["C:\\Temp\\Installer.log"];
  std::size_t at = 0;
  for (const char* line :
       {"Paket 1 (Package 1): installiert, Exitcode 0 (0x00000000)",
        "Paket 2 (Package 2): fehlgeschlagen, Exitcode 1603 (0x00000643)",
        "Neustart vor Paket 4: Fortsetzungsdatei C:\\Release\\rir_eridivu",
        "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce, rir Eridivu "
        "= \"C:\\Release\\Installer.exe\"",
        "Fortsetzungsdatei C:\\Release\\rir_eridivu gelesen", "Paket 4 (Package 4) startet",
        "Paket 4 (Package 4): installiert, Exitcode 0 (0x00000000)",
        "Ende mit Exitcode 1603 (0x00000643)"}) {
    const std::size_t found = log.find(line, at);
    ASSERT_NE(found, std::string::npos) << line << "\n" << log;
    at = found;
  }
}

TEST_F(PackageOutcomes, ALogAboveAMegabyteStartsAnew) {
  const std::string old_log = "\xEF\xBB\xBF" + std::string(1100000, 'x');
  system.files["C:\\Temp\\Installer.log"] = old_log;
  UseRelease(1);
  StartAndDecide();
  EXPECT_EQ(system.files["C:\\Temp\\Installer.log.old"], old_log);
  EXPECT_LT(system.files["C:\\Temp\\Installer.log"].size(), 1000u);
}

TEST(Failures, AreReadBackAsWrittenAndOddLinesArePassedOver) {
  const std::vector<frame::PackageFailure> failures = {
      {"Paket\tmit Tab", true, 0xC0000005u, ""}, {"Fehlt", false, 0, "Die Datei C:\\x.exe fehlt."}};
  const std::string text = frame::FailuresText(failures);
  const std::vector<frame::PackageFailure> read =
      frame::ReadFailures(text + "kaputt\r\n2\t1\tx\ty\r\n1\t99999999999\tx\ty\r\n" +
                          "1\t4294967296\tx\ty\r\n1\t4294967295\tGanz oben\t\r\n");
  ASSERT_EQ(read.size(), 3u);  // the largest exit code is read, one above it is not
  EXPECT_EQ(read[2].name, "Ganz oben");
  EXPECT_EQ(read[2].exit_code, 4294967295u);
  EXPECT_EQ(read[0].name, "Paket mit Tab");
  EXPECT_TRUE(read[0].started);
  EXPECT_EQ(read[0].exit_code, 0xC0000005u);
  EXPECT_EQ(read[1].name, "Fehlt");
  EXPECT_FALSE(read[1].started);
  EXPECT_EQ(read[1].reason, "Die Datei C:\\x.exe fehlt.");
}

TEST_F(PackageOutcomes, ExitCodeOfEachRoad) {
  UseRelease(1, "", {{1, "Restart=1"}});
  RunAll();
  EXPECT_EQ(main->context.Run().ExitCode(), 3010);  // asked for, not done yet
  Finish().BAbbrechen.Click();                      // the finish page's restart
  EXPECT_EQ(system.restart_requests, 1);
  EXPECT_EQ(main->context.Run().ExitCode(), 1641);
}

}  // namespace
