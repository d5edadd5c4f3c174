// A run is on disk before each package starts, with the package's attempt
// counted: whatever interrupts it (the end of the session, a forced restart,
// a power cut, the installer ended), the next start goes on with that
// package, and one interrupted twice does not start a third time, so that it
// can't end the run at every start.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "finish/finish_page.h"
#include "frame/continuation.h"
#include "release_fixture.h"

namespace {

const std::string kInterruptedTwice =
    "Die Installation wurde zweimal unterbrochen, während das Paket lief";

class RestartLoop : public test::ReleaseFixture {
 protected:
  RestartLoop() { system.arguments = {"/silent", "/norestart"}; }

  static std::string AttemptsPath() { return ContinuationPath() + ".attempts"; }
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
              "\"C:\\Release\\Installer.exe\" /norestart \"/log:C:\\Temp\\Installer.log\" "
              "\"/continuation:C:\\Release\\rir_eridivu\"");
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

// How a run is interrupted while a package runs: the program of the
// interrupted run is given, and nothing of it runs afterwards.
struct Interruption {
  const char* name;
  std::function<void(RestartLoop&, ui::Application&)> interrupt;
};

class Interruptions : public RestartLoop, public ::testing::WithParamInterface<Interruption> {
 protected:
  void Interrupt(ui::Application& program) {
    GetParam().interrupt(*this, program);
    system.workers.clear();
  }
};

INSTANTIATE_TEST_SUITE_P(
    , Interruptions,
    ::testing::Values(
        Interruption{"SessionEnd",
                     [](RestartLoop&, ui::Application& program) {
                       ASSERT_TRUE(program.QueryEndSession());
                       program.SessionEnds();
                     }},
        // A power cut, a forced restart, the installer ended: the program hears nothing.
        Interruption{"PowerCut", [](RestartLoop&, ui::Application&) {}}),
    [](const ::testing::TestParamInfo<Interruption>& info) { return info.param.name; });

TEST_P(Interruptions, APackageInterruptedTwiceRunsNoThirdTimeAndTheRunGoesOnWithoutIt) {
  UseRelease(3);
  StartAndDecide();
  // Before the first package, the run is registered.
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "0\r\n1\r\n2\r\n"));
  EXPECT_EQ(File(AttemptsPath()), "0\t1\r\n");
  ASSERT_EQ(system.run_once.size(), 1u);
  FinishPackage();  // package 2 runs
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "1\r\n2\r\n"));
  EXPECT_EQ(File(AttemptsPath()), "1\t1\r\n");
  Interrupt(application);

  auto second = std::make_unique<test::Program>(system);
  app::TFMain& continued = LogOn(*second);
  EXPECT_EQ(Running(continued), "Package 2");
  EXPECT_EQ(File(AttemptsPath()), "1\t2\r\n");
  Interrupt(second->application);
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "1\r\n2\r\n"));

  test::Program third{system};
  app::TFMain& last = LogOn(third);
  EXPECT_EQ(Running(last), "Package 3");
  FinishPackage();
  const finish::TFEnde& finish = *last.context.forms.FEnde;
  EXPECT_TRUE(finish.Visible());
  EXPECT_NE(finish.LText.Caption().find("- Package 2 (" + kInterruptedTwice + ")"),
            std::string::npos)
      << finish.LText.Caption();
  EXPECT_TRUE(third.application.Terminated());  // "/norestart": it ends by itself
  EXPECT_EQ(third.application.ExitCode(), 1603);
  for (const std::string& path : {ContinuationPath(), AttemptsPath(), FailuresPath()})
    EXPECT_FALSE(system.FileExists(path)) << path;
  EXPECT_TRUE(system.run_once.empty());

  EXPECT_EQ(Occurrences("Paket 2 (Package 2) startet"), 2);
  EXPECT_EQ(Occurrences("Paket 2 (Package 2): fehlgeschlagen, die Installation wurde zweimal "
                        "unterbrochen, während es lief; es startet kein drittes Mal"),
            1)
      << Log();
}

// Each package is counted on its own, over the whole run.
TEST_F(RestartLoop, OneInterruptionDuringEachOfTwoPackagesFailsNeither) {
  UseRelease(3);
  StartAndDecide();
  EndSession(application);  // during package 1
  test::Program second{system};
  EXPECT_EQ(Running(LogOn(second)), "Package 1");
  FinishPackage();
  EndSession(second.application);  // during package 2
  EXPECT_EQ(File(AttemptsPath()), "1\t1\r\n");
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "1\r\n2\r\n"));

  test::Program third{system};
  app::TFMain& last = LogOn(third);
  EXPECT_EQ(Running(last), "Package 2");
  FinishPackage();
  FinishPackage();
  EXPECT_TRUE(last.context.Run().Failures().empty());
  EXPECT_TRUE(third.application.Terminated());
  EXPECT_FALSE(system.FileExists(AttemptsPath()));
}

// Another program vetoes the end: the package runs on and ends by itself,
// and its one attempt is over.
TEST_F(RestartLoop, AVetoedEndLeavesThePackageRunning) {
  UseRelease(3);
  StartAndDecide();
  FinishPackage();
  ASSERT_TRUE(application.QueryEndSession());
  application.SessionEndCancelled();
  EXPECT_TRUE(main->context.Run().Failures().empty());
  FinishPackage();  // package 2 ends by itself
  EXPECT_EQ(Running(*main), "Package 3");
  EXPECT_EQ(File(ContinuationPath()), Continuation(3, "2\r\n"));
  EXPECT_EQ(File(AttemptsPath()), "2\t1\r\n");
}

// The last package interrupted twice: the start after it shows the outcome.
TEST_F(RestartLoop, TheLastPackageInterruptedTwiceLeavesOnlyTheOutcome) {
  UseRelease(2);
  StartAndDecide();
  FinishPackage();
  EndSession(application);
  test::Program second{system};
  LogOn(second);
  EndSession(second.application);
  EXPECT_EQ(File(ContinuationPath()), Continuation(2, "1\r\n"));

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

TEST(Attempts, AreReadBackAsWrittenAndOddLinesArePassedOver) {
  const frame::Attempts attempts{{0, 1}, {7, 2}, {999, 1}};
  const std::string text = frame::AttemptsText(attempts);
  EXPECT_EQ(text, "0\t1\r\n7\t2\r\n999\t1\r\n");
  EXPECT_EQ(frame::ReadAttempts(text + "kaputt\r\n1000\t1\r\n3\t0\r\n4\t-1\r\n5\t1\t1\r\n6\r\n"
                                       "8\t99999999999\r\n"),
            attempts);
  EXPECT_TRUE(frame::ReadAttempts("").empty());
}

}  // namespace
