// A package during which the session ends (it restarts the computer itself,
// or a watchdog does) goes on after the logon; the second time it does so it
// counts as failed, so that it can't restart the computer at every logon.
#include <gtest/gtest.h>

#include "finish/finish_page.h"
#include "frame/continuation.h"
#include "release_fixture.h"

namespace {

const std::string kSessionEndedTwice = "Die Sitzung endete zweimal, während das Paket lief";

class RestartLoop : public test::ReleaseFixture {
 protected:
  RestartLoop() { system.arguments = {"/silent", "/norestart"}; }

  static std::string SessionEndsPath() { return ContinuationPath() + ".sessionend"; }
  static std::string FailuresPath() { return ContinuationPath() + ".failed"; }
  std::string File(const std::string& path) { return system.files[path]; }
  std::string Log() { return system.files["C:\\Temp\\Installer.log"]; }
  // The continuation of a silent run, which restarts by itself.
  static std::string Continuation(int run_total, const std::string& rows) {
    return std::to_string(run_total) + "\r\n1\r\n0\r\n0\r\n0\r\n" + rows;
  }

  // The session ends while a package of `program` runs: the program and the
  // package's worker end with it.
  void EndSession(ui::Application& program) {
    ASSERT_TRUE(program.QueryEndSession());
    program.SessionEnds();
    system.workers.clear();
  }
  // The logon starts the program from its run-once value.
  app::TFMain& LogOn(test::Program& after_logon) {
    EXPECT_EQ(system.run_once.at(0).command,
              "\"C:\\Release\\Installer.exe\" /norestart \"/log:C:\\Temp\\Installer.log\"");
    system.arguments = {"/norestart"};
    app::TFMain& main = after_logon.Start();
    main.TStart.Tick();
    return main;
  }
  static std::string Running(const app::TFMain& main) {
    return main.context.forms.FKopieren->LKopierDatei.Caption();
  }
  int Occurrences(const std::string& text) {
    const std::string log = Log();
    int found = 0;
    for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++found;
    return found;
  }
};

TEST_F(RestartLoop, APackageThatEndsTheSessionEveryTimeRunsTwiceAndTheRunGoesOnWithoutIt) {
  UseRelease(3);
  StartAndDecide();
  FinishPackage();  // package 2 runs
  EndSession(application);
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "1\r\n2\r\n"));
  EXPECT_EQ(File(SessionEndsPath()), "1\t1\r\n");
  EXPECT_TRUE(system.hidden_files.count(SessionEndsPath()));
  EXPECT_FALSE(system.FileExists(FailuresPath()));

  test::Program second{system};
  app::TFMain& continued = LogOn(second);
  EXPECT_EQ(Running(continued), "Package 2");
  EndSession(second.application);
  // Package 2 gives up its place: the continuation names the package after it.
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "2\r\n"));
  EXPECT_EQ(File(SessionEndsPath()), "1\t2\r\n");
  EXPECT_EQ(File(FailuresPath()), "1\t0\tPackage 2\t" + kSessionEndedTwice + "\r\n");
  EXPECT_EQ(second.application.ExitCode(), 1603);

  test::Program third{system};
  app::TFMain& last = LogOn(third);
  EXPECT_EQ(Running(last), "Package 3");
  FinishPackage();
  const finish::TFEnde& finish = *last.context.forms.FEnde;
  EXPECT_TRUE(finish.Visible());
  EXPECT_NE(finish.LText.Caption().find("- Package 2 (" + kSessionEndedTwice + ")"),
            std::string::npos)
      << finish.LText.Caption();
  EXPECT_TRUE(third.application.Terminated());  // "/norestart": it ends by itself
  EXPECT_EQ(third.application.ExitCode(), 1603);
  for (const std::string& path : {ContinuationPath(), SessionEndsPath(), FailuresPath()})
    EXPECT_FALSE(system.FileExists(path)) << path;
  EXPECT_TRUE(system.run_once.empty());

  EXPECT_EQ(Occurrences("Paket 2 (Package 2) startet"), 2);
  std::size_t at = 0;
  for (const char* line :
       {"Paket 2 (Package 2): fehlgeschlagen, die Sitzung endete zum zweiten Mal, während es lief",
        "Die Sitzung endet: Ende mit Exitcode 1603", "Paket 3 (Package 3) startet",
        "Ende mit Exitcode 1603"}) {
    at = Log().find(line, at);
    ASSERT_NE(at, std::string::npos) << line << "\n" << Log();
  }
}

// Each package is counted on its own, over the whole run.
TEST_F(RestartLoop, TheSessionEndingOnceDuringEachOfTwoPackagesFailsNeither) {
  UseRelease(3);
  StartAndDecide();
  EndSession(application);  // during package 1
  test::Program second{system};
  EXPECT_EQ(Running(LogOn(second)), "Package 1");
  FinishPackage();
  EndSession(second.application);  // during package 2
  EXPECT_EQ(File(SessionEndsPath()), "0\t1\r\n1\t1\r\n");
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "1\r\n2\r\n"));

  test::Program third{system};
  app::TFMain& last = LogOn(third);
  EXPECT_EQ(Running(last), "Package 2");
  FinishPackage();
  FinishPackage();
  EXPECT_TRUE(last.context.Run().Failures().empty());
  EXPECT_TRUE(third.application.Terminated());
  EXPECT_FALSE(system.FileExists(SessionEndsPath()));
}

// Another program vetoes the end: the package runs on, and the session did
// not end during it.
TEST_F(RestartLoop, AVetoedSecondEndLeavesThePackageRunning) {
  UseRelease(3);
  StartAndDecide();
  FinishPackage();
  EndSession(application);
  test::Program second{system};
  app::TFMain& continued = LogOn(second);
  ASSERT_TRUE(second.application.QueryEndSession());
  EXPECT_EQ(continued.context.Run().Failures().size(), 1u);
  second.application.SessionEndCancelled();
  EXPECT_TRUE(continued.context.Run().Failures().empty());
  EXPECT_EQ(continued.context.Run().SessionEndsByPackage(), (frame::SessionEnds{{1, 1}}));

  FinishPackage();  // package 2 ends by itself
  EXPECT_EQ(Running(continued), "Package 3");
  // The state on disk follows: the save for the vetoed end had named package 2 as failed.
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "2\r\n"));
  EXPECT_EQ(File(SessionEndsPath()), "1\t1\r\n");
  EXPECT_FALSE(system.FileExists(FailuresPath()));
  // A later end during package 3 is its first.
  EndSession(second.application);
  EXPECT_EQ(File(SessionEndsPath()), "1\t1\r\n2\t1\r\n");
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "2\r\n"));
}

// Nothing is left after it: the logon shows the outcome of the run.
TEST_F(RestartLoop, TheLastPackageEndingTheSessionTwiceLeavesOnlyTheOutcome) {
  UseRelease(2);
  StartAndDecide();
  FinishPackage();
  EndSession(application);
  test::Program second{system};
  LogOn(second);
  EndSession(second.application);
  EXPECT_EQ(File(ContinuationPath()), Continuation(2, ""));

  test::Program third{system};
  app::TFMain& last = LogOn(third);
  EXPECT_TRUE(system.workers.empty());
  EXPECT_TRUE(last.context.forms.FEnde->Visible());
  EXPECT_EQ(last.context.forms.FEnde->LHinweis->Caption(),
            "Die Installation wurde abgeschlossen, aber nicht alle Dateien konnten installiert "
            "werden:");
  EXPECT_EQ(third.application.ExitCode(), 1603);
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
}

TEST(SessionEnds, AreReadBackAsWrittenAndOddLinesArePassedOver) {
  const frame::SessionEnds ends{{0, 1}, {7, 2}, {999, 1}};
  const std::string text = frame::SessionEndsText(ends);
  EXPECT_EQ(text, "0\t1\r\n7\t2\r\n999\t1\r\n");
  EXPECT_EQ(frame::ReadSessionEnds(text + "kaputt\r\n1000\t1\r\n3\t0\r\n4\t-1\r\n5\t1\t1\r\n6\r\n"
                                          "8\t99999999999\r\n"),
            ends);
  EXPECT_TRUE(frame::ReadSessionEnds("").empty());
}

}  // namespace
