// Runs that nobody watches: a continued run that keeps its state until it is
// over, the end of the session in the middle of a package, refused and
// vetoed restarts, one installer at a time, a program folder that can't be
// written, and errors that go to the log instead of a box.
#include <gtest/gtest.h>

#include <algorithm>

#include "about/about_dialog.h"
#include "engine/lock_wait.h"
#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "frame/install_lock.h"
#include "release_fixture.h"

namespace {

class UnattendedRun : public test::ReleaseFixture {
 protected:
  engine::TFKopieren& Install() { return *Pages().FKopieren; }
  finish::TFEnde& Finish() { return *Pages().FEnde; }
  std::string Continuation() { return system.files[ContinuationPath()]; }
  std::string Log() { return system.files["C:\\Temp\\Installer.log"]; }

  static std::string File(int run_total, const std::string& rows) {
    return std::to_string(run_total) + "\r\n0\r\n0\r\n0\r\n0\r\n" + rows;
  }
};

TEST_F(UnattendedRun, ContinuedRunKeepsItsStateInStepUntilTheEnd) {
  UseRelease(4);
  system.files[ContinuationPath()] = File(4, "1\r\n2\r\n3\r\n");
  StartAndDecide();
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 2");
  EXPECT_EQ(Continuation(), File(4, "1\r\n2\r\n3\r\n"));  // package 2 runs: it is still listed
  ASSERT_EQ(system.run_once.size(), 1u);                  // written again for this run
  FinishPackage();
  EXPECT_EQ(Continuation(), File(4, "2\r\n3\r\n"));
  EXPECT_TRUE(system.hidden_files.count(ContinuationPath()));
  FinishPackage();
  EXPECT_EQ(Continuation(), File(4, "3\r\n"));
  FinishPackage();
  EXPECT_TRUE(Finish().Visible());
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
  EXPECT_TRUE(system.run_once.empty());
}

TEST_F(UnattendedRun, KilledContinuedRunResumesWithThePackageThatWasRunning) {
  UseRelease(4);
  system.files[ContinuationPath()] = File(4, "1\r\n2\r\n3\r\n");
  StartAndDecide();
  FinishPackage();  // package 2 done, package 3 runs when the process is killed
  test::Program after_logon{system};
  app::TFMain& main = after_logon.Start();
  main.TStart.Tick();
  const engine::TFKopieren& install = *main.context.forms.FKopieren;
  EXPECT_EQ(install.LKopierDatei.Caption(), "Package 3");
  EXPECT_EQ(install.CurrentNumber, 3);
  EXPECT_EQ(install.TotalCount, 4);
  EXPECT_EQ(install.ProgressBar.Position(), 50);
}

TEST_F(UnattendedRun, CancelledContinuedRunRemovesItsState) {
  UseRelease(3);
  system.files[ContinuationPath()] = File(3, "1\r\n2\r\n");
  StartAndDecide();
  dialogs.answer = true;
  Install().BAbbrechen.Click();  // the question is asked: a person is there after all
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"W56"});
  FinishPackage();
  EXPECT_TRUE(Finish().Visible());
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
  EXPECT_TRUE(system.run_once.empty());
}

// A package restarts the computer itself, or the user logs off.
TEST_F(UnattendedRun, EndOfTheSessionWhileAPackageRunsSavesTheRunningPackage) {
  UseRelease(3);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();  // package 2 runs now
  EXPECT_TRUE(application.QueryEndSession());
  EXPECT_TRUE(dialogs.questions.empty());  // no cancel question holds it up
  EXPECT_EQ(Continuation(), File(3, "1\r\n2\r\n"));
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_TRUE(main->context.Run().Restarting());
}

TEST_F(UnattendedRun, EndOfTheSessionDuringTheFirstPackageResumesWithIt) {
  UseRelease(2);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_TRUE(application.QueryEndSession());
  EXPECT_EQ(Continuation(), File(2, "0\r\n1\r\n"));  // every row of the run is still to do

  test::Program after_logon{system};
  app::TFMain& main = after_logon.Start();
  main.TStart.Tick();
  EXPECT_TRUE(after_logon.dialogs.messages.empty());
  EXPECT_EQ(main.context.forms.FKopieren->LKopierDatei.Caption(), "Package 1");
}

// The rest of the run can't be saved as the session ends: it is lost, and
// the exit code says so, unless another program keeps the session going.
TEST_F(UnattendedRun, EndOfTheSessionThatCannotSaveTheRunIsAFailureUnlessVetoed) {
  UseRelease(2);
  system.arguments = {"/silent", "/norestart"};
  StartAndDecide();
  system.writes_fail = true;
  EXPECT_TRUE(application.QueryEndSession());
  EXPECT_EQ(main->context.Run().ExitCode(), 1603);
  // Nothing is left that a later start would take for this run's.
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
  EXPECT_TRUE(system.run_once.empty());
  application.SessionEndCancelled();  // the run goes on after all
  system.writes_fail = false;
  FinishPackage();
  EXPECT_EQ(system.files[ContinuationPath()], "2\r\n1\r\n0\r\n0\r\n0\r\n1\r\n");
  EXPECT_EQ(system.run_once.size(), 1u);  // registered anew for the rest
  while (system.FinishWorker()) {
  }
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
}

TEST_F(UnattendedRun, EndOfTheSessionVetoedWhileAPackageRunsLetsTheRunGoOn) {
  UseRelease(3);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_TRUE(application.QueryEndSession());
  application.SessionEndCancelled();
  EXPECT_FALSE(main->context.Run().Restarting());
  EXPECT_TRUE(Install().Visible());
  EXPECT_FALSE(Finish().Visible());
  EXPECT_TRUE(dialogs.messages.empty());
  FinishPackage();
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 2");
  // What was saved for that end is no longer the run's state.
  FinishPackage();
  FinishPackage();
  EXPECT_EQ(Finish().LHinweis->Caption(), "W44");
  EXPECT_EQ(main->context.Run().ExitCode(), 0);
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
  EXPECT_TRUE(system.run_once.empty());
}

TEST_F(UnattendedRun, EndOfTheSessionOnAWizardPageAsksOnce) {
  UseStandardRelease();
  StartAndDecide();
  Pages().FAbout->Show();  // a second visible form asks nothing
  EXPECT_FALSE(application.QueryEndSession());
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"W55"});
  dialogs.answer = true;
  EXPECT_TRUE(application.QueryEndSession());
}

TEST_F(UnattendedRun, RefusedRestartInTheMiddleEndsOnTheFinishPageAndKeepsTheState) {
  UseRelease(3, "AutoReboot=1", {{1, "Restart=1"}});
  system.restart_accepted = false;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "Der Computer konnte nicht neu gestartet werden: Zugriff verweigert\n"
            "Die Installation wird nach dem nächsten Neustart des Computers fortgesetzt.");
  EXPECT_TRUE(Finish().Visible());
  EXPECT_FALSE(Install().Visible());
  EXPECT_EQ(Finish().LHinweis->Caption(),
            "Die Installation wird nach dem nächsten Neustart des Computers fortgesetzt.");
  EXPECT_FALSE(Pages().FAutoReboot->Visible());
  EXPECT_EQ(Continuation(), "3\r\n1\r\n0\r\n0\r\n0\r\n1\r\n2\r\n");
  EXPECT_EQ(system.run_once.size(), 1u);
  EXPECT_FALSE(main->context.Run().Restarting());
}

// A package said it restarts the computer, and then nothing ended the session
// (or a program refused before this one was asked): the run does not wait
// for ever.
TEST_F(UnattendedRun, ARestartThatNeverComesIsTakenForVetoed) {
  UseRelease(3);
  system.arguments = {"/silent"};
  system.exit_codes["pkg1.exe"] = 1641;
  StartAndDecide();
  FinishPackage();
  EXPECT_TRUE(main->TRestartWait.Enabled());
  EXPECT_EQ(main->TRestartWait.Interval(), 20000u);
  EXPECT_FALSE(application.Terminated());
  main->TRestartWait.Tick();
  EXPECT_FALSE(main->TRestartWait.Enabled());
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 3010);
  EXPECT_EQ(Continuation(), "3\r\n1\r\n0\r\n0\r\n0\r\n1\r\n2\r\n");
  EXPECT_NE(Log().find(
                "Der Neustart hat die Sitzung nach 20 Sekunden nicht beendet; wohl hat ein anderes "
                "Programm ihn verhindert"),
            std::string::npos)
      << Log();
}

TEST_F(UnattendedRun, HandOverVetoedByAnotherProgramIsARefusedRestart) {
  UseRelease(2, "AutoReboot=1", {{1, "Restart=1"}});
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  ASSERT_EQ(system.restart_requests, 1);
  EXPECT_TRUE(Install().Visible());
  application.SessionEndCancelled();
  EXPECT_TRUE(Finish().Visible());
  EXPECT_FALSE(Install().Visible());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].text.find("nach dem nächsten Neustart"), std::string::npos);
  EXPECT_TRUE(system.FileExists(ContinuationPath()));
}

TEST_F(UnattendedRun, RestartFromTheFinishPageVetoedByAnotherProgramBringsThePageBack) {
  UseRelease(1);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  Finish().BAbbrechen.Click();
  ASSERT_EQ(system.restart_requests, 1);
  EXPECT_FALSE(Finish().Visible());
  application.SessionEndCancelled();
  EXPECT_TRUE(Finish().Visible());
  EXPECT_FALSE(main->context.Run().Restarting());
  EXPECT_FALSE(application.Terminated());
}

TEST_F(UnattendedRun, CountdownRestartVetoedByAnotherProgramLeavesTheFinishPageUsable) {
  UseRelease(1, "AutoReboot=1");
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  finish::TFAutoReboot& countdown = *Pages().FAutoReboot;
  for (int tick = 1; tick <= 11; ++tick) countdown.Timer.Tick();
  ASSERT_EQ(system.restart_requests, 1);
  application.SessionEndCancelled();
  EXPECT_FALSE(countdown.Visible());
  EXPECT_TRUE(Finish().Visible());
  EXPECT_TRUE(Finish().Enabled());
}

// The program let the session end; another program held it up.
TEST_F(UnattendedRun, SessionEndVetoedElsewhereLeavesTheCountdownRunning) {
  UseRelease(1, "AutoReboot=1");
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  finish::TFAutoReboot& countdown = *Pages().FAutoReboot;
  ASSERT_TRUE(countdown.Visible());
  EXPECT_TRUE(application.QueryEndSession());
  application.SessionEndCancelled();
  EXPECT_TRUE(countdown.Visible());
  EXPECT_TRUE(countdown.Timer.Enabled());
  EXPECT_EQ(Log().find("verhindert"), std::string::npos) << Log();
}

TEST_F(UnattendedRun, ElevatedContinuedRunRemovesItsMachineWideRunOnceAtTheEnd) {
  UseRelease(2);
  system.elevated = true;  // on Windows 7, with user account control
  system.files[ContinuationPath()] = File(2, "1\r\n");
  StartAndDecide();
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_TRUE(system.run_once[0].machine_wide);
  FinishPackage();
  EXPECT_TRUE(Finish().Visible());
  EXPECT_TRUE(system.run_once.empty());
}

TEST_F(UnattendedRun, OnlyAPackageWhoseInstallerRanDemandsTheRestart) {
  for (const char* package : {"File=missing.exe", "File=notes.txt"}) {
    test::Program fresh{system};
    UseRelease(3, "", {{2, std::string("Restart=1\n") + package}});
    system.restart_requests = 0;
    app::TFMain& m = fresh.Start();
    m.TStart.Tick();
    m.context.forms.FWillkommen->BWeiter.Click();
    while (system.FinishWorker()) {
    }
    EXPECT_EQ(system.restart_requests, 0) << package;
    EXPECT_TRUE(m.context.forms.FEnde->Visible()) << package;
  }
}

// --- One installer at a time ---

class OneInstallerAtATime : public UnattendedRun {
 protected:
  static constexpr int kPollsInTheLimit =
      app::TFMain::kInstallLockWaitMs / frame::InstallLock::kPollMs;

  void TickLock(int times = 1) {
    for (int i = 0; i < times; ++i) main->Lock.TLock.Tick();
  }
  // The lock was only ever asked for without waiting: the message loop ran.
  bool NeverBlocked() const {
    return std::all_of(system.install_lock_waits.begin(), system.install_lock_waits.end(),
                       [](int wait_ms) { return wait_ms == 0; });
  }
  static std::string Word(release::WordNumber word) { return release::WordTable::Missing(word); }
  bool LoggedTheWait() { return Log().find(kWaits) != std::string::npos; }

  static constexpr const char* kWaits =
      "Ein anderes Installationsprogramm läuft; warte, bis es beendet ist";
};

TEST_F(OneInstallerAtATime, WizardTakesTheLockWhenItsInstallationStarts) {
  UseRelease(2);
  StartAndDecide();
  EXPECT_TRUE(Pages().FWillkommen->Visible());
  EXPECT_TRUE(system.install_lock_waits.empty());  // an open wizard holds up nobody
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_EQ(system.install_lock_waits, std::vector<int>{0});
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_EQ(system.workers.size(), 1u);
}

TEST_F(OneInstallerAtATime, WizardThatMayNotWaitStaysOnItsPage) {
  UseRelease(2);
  system.install_lock_free = false;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_EQ(dialogs.questions,
            std::vector<std::string>{Word(release::kWordAnotherInstallerRunsQuestion)});
  EXPECT_TRUE(Pages().FWillkommen->Visible());
  EXPECT_FALSE(Install().Visible());
  EXPECT_FALSE(main->Lock.Waiting());
  EXPECT_TRUE(system.workers.empty());
  EXPECT_FALSE(application.Terminated());

  system.install_lock_free = true;  // the other installer is over: the next attempt runs
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_EQ(dialogs.questions.size(), 1u);
  EXPECT_TRUE(Install().Visible());
  EXPECT_EQ(system.workers.size(), 1u);
}

TEST_F(OneInstallerAtATime, WizardWaitsOnTheInstallationPageUntilTheOtherEnds) {
  UseRelease(2);
  system.install_lock_free = false;
  dialogs.answer = true;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_TRUE(Install().Visible());
  EXPECT_FALSE(Pages().FWillkommen->Visible());
  EXPECT_EQ(Install().LKopierStatus.Caption(), Word(release::kWordWaitingForTheOther));
  EXPECT_TRUE(Install().BAbbrechen.Enabled());
  EXPECT_TRUE(LoggedTheWait()) << Log();
  TickLock(3);
  EXPECT_TRUE(main->Lock.Waiting());
  EXPECT_TRUE(system.workers.empty());

  system.install_lock_free = true;
  TickLock();
  EXPECT_FALSE(main->Lock.Waiting());
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 1");
  EXPECT_EQ(system.workers.size(), 1u);
  EXPECT_EQ(system.install_lock_waits.size(), 5u);
  EXPECT_TRUE(NeverBlocked());
}

TEST_F(OneInstallerAtATime, CancellingTheWaitGoesBackToWhereTheInstallationStarted) {
  UseRelease(2);
  system.install_lock_free = false;
  dialogs.answer = true;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  Install().BHintergrund.Click();  // the waiting page goes to the tray
  main->MIAbbrechen.Click();       // the tray menu's cancel: the page's own question
  EXPECT_EQ(dialogs.questions.back(), Word(release::kWordCancelWaitQuestion));  // nothing ran yet
  system.install_lock_free = true;  // too late: giving up comes first
  TickLock();
  EXPECT_TRUE(Pages().FWillkommen->Visible());
  EXPECT_FALSE(Install().Visible());
  EXPECT_FALSE(main->TrayIcon.IconVisible());
  EXPECT_FALSE(main->Lock.Waiting());
  EXPECT_TRUE(system.workers.empty());
  EXPECT_FALSE(application.Terminated());

  Pages().FWillkommen->BWeiter.Click();  // the lock is free now: no question, the run starts
  EXPECT_EQ(dialogs.questions.size(), 2u);
  EXPECT_EQ(system.workers.size(), 1u);
  EXPECT_FALSE(main->context.Run().Cancelled());
}

TEST_F(OneInstallerAtATime, EndOfTheSessionWhileTheWizardWaitsAsksTheWizardsQuestion) {
  UseRelease(1);
  system.install_lock_free = false;
  dialogs.answer = true;
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  dialogs.answer = false;
  EXPECT_FALSE(application.QueryEndSession());
  EXPECT_EQ(dialogs.questions.back(), "W55");
  EXPECT_TRUE(main->Lock.Waiting());
  dialogs.answer = true;
  EXPECT_TRUE(application.QueryEndSession());
  application.SessionEnds();
  EXPECT_EQ(application.ExitCode(), frame::kExitAnotherInstallerRuns);
}

TEST_F(OneInstallerAtATime, SilentRunWaitsItsLimitAndEndsByItselfWith1618) {
  UseRelease(1);
  system.install_lock_free = false;
  system.arguments = {"/silent"};
  StartAndDecide();
  EXPECT_TRUE(LoggedTheWait()) << Log();
  TickLock(kPollsInTheLimit - 1);
  EXPECT_FALSE(application.Terminated());
  EXPECT_TRUE(main->Lock.Waiting());
  TickLock();
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), frame::kExitAnotherInstallerRuns);
  EXPECT_FALSE(main->Lock.Waiting());
  EXPECT_TRUE(dialogs.messages.empty());  // to the log, not on screen
  EXPECT_NE(Log().find("(nicht angezeigt): " + Word(release::kWordAnotherInstallerRuns)),
            std::string::npos)
      << Log();
  EXPECT_NE(Log().find("Ende mit Exitcode 1618"), std::string::npos) << Log();
  EXPECT_TRUE(system.workers.empty());
  EXPECT_EQ(system.install_lock_waits.size(), static_cast<std::size_t>(kPollsInTheLimit));
  EXPECT_TRUE(NeverBlocked());
}

TEST_F(OneInstallerAtATime, SilentRunStartsOnceTheOtherEnds) {
  UseRelease(1);
  system.install_lock_free = false;
  system.arguments = {"/silent"};
  StartAndDecide();
  TickLock(kPollsInTheLimit / 2);
  EXPECT_TRUE(system.workers.empty());
  system.install_lock_free = true;
  TickLock();
  EXPECT_EQ(system.workers.size(), 1u);
  EXPECT_TRUE(Install().Visible());
  EXPECT_FALSE(application.Terminated());
}

TEST_F(OneInstallerAtATime, SessionEndingWhileASilentRunWaitsEndsWith1618) {
  UseRelease(1);
  system.install_lock_free = false;
  system.arguments = {"/silent"};
  StartAndDecide();
  EXPECT_TRUE(application.QueryEndSession());
  EXPECT_TRUE(dialogs.questions.empty());
  application.SessionEnds();
  EXPECT_EQ(application.ExitCode(), frame::kExitAnotherInstallerRuns);
  EXPECT_NE(Log().find("Die Sitzung endet: Ende mit Exitcode 1618"), std::string::npos) << Log();
}

// Windows deleted the run-once value before it started the program: a run that
// waits in vain, or is killed while it waits, must still go on at the next logon.
TEST_F(OneInstallerAtATime, ContinuedRunRegistersItselfAgainBeforeItWaits) {
  UseRelease(3);
  const std::string file = File(3, "1\r\n2\r\n");
  system.files[ContinuationPath()] = file;
  system.install_lock_free = false;
  StartAndDecide();
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_TRUE(system.workers.empty());
  EXPECT_TRUE(LoggedTheWait()) << Log();
  EXPECT_LT(Log().find("RunOnce"), Log().find(kWaits)) << Log();
  TickLock(kPollsInTheLimit);
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), frame::kExitAnotherInstallerRuns);
  EXPECT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(Continuation(), file);
  EXPECT_TRUE(NeverBlocked());

  system.install_lock_free = true;
  system.run_once.clear();  // Windows deletes the value as it starts it at the logon
  test::Program after_logon{system};
  app::TFMain& next = after_logon.Start();
  next.TStart.Tick();
  EXPECT_EQ(next.context.forms.FKopieren->LKopierDatei.Caption(), "Package 2");
  EXPECT_EQ(system.run_once.size(), 1u);
}

TEST_F(OneInstallerAtATime, ContinuedRunGoesOnOnceTheOtherEnds) {
  UseRelease(3);
  system.files[ContinuationPath()] = File(3, "1\r\n2\r\n");
  system.install_lock_free = false;
  StartAndDecide();
  TickLock(2);
  system.install_lock_free = true;
  TickLock();
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 2");
  EXPECT_EQ(system.run_once.size(), 1u);
  FinishPackage();
  FinishPackage();
  EXPECT_TRUE(Finish().Visible());
  EXPECT_TRUE(system.run_once.empty());
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
}

// The holder of the lock may have been another copy continuing the same run: once the lock is
// taken, the file is read again, so that nothing that copy installed runs twice.
TEST_F(OneInstallerAtATime, ContinuedRunThatWaitedGoesOnWhereTheOtherCopyLeftTheRun) {
  UseRelease(3);
  system.files[ContinuationPath()] = File(3, "1\r\n2\r\n");
  system.install_lock_free = false;
  StartAndDecide();
  TickLock(2);
  system.files[ContinuationPath()] = File(3, "2\r\n");  // the other copy installed package 2
  system.install_lock_free = true;
  TickLock();
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 3");
  EXPECT_EQ(Install().CurrentNumber, 3);
  EXPECT_NE(Log().find("Fortsetzungsdatei C:\\Release\\rir_eridivu hat sich geändert"),
            std::string::npos)
      << Log();
  FinishPackage();
  EXPECT_TRUE(Finish().Visible());
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
}

TEST_F(OneInstallerAtATime, ContinuedRunThatWaitedEndsWhenTheOtherCopyFinishedTheRun) {
  UseRelease(3);
  system.files[ContinuationPath()] = File(3, "1\r\n2\r\n");
  system.install_lock_free = false;
  StartAndDecide();
  ASSERT_EQ(system.run_once.size(), 1u);
  system.files.erase(ContinuationPath());  // the other copy finished it, and this copy then
  system.install_lock_free = true;         // registered its run-once value once more
  TickLock();
  EXPECT_TRUE(system.workers.empty());
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
  EXPECT_TRUE(system.run_once.empty());
  EXPECT_FALSE(Install().Visible());
  EXPECT_NE(Log().find("Fortsetzungsdatei C:\\Release\\rir_eridivu ist nicht mehr da"),
            std::string::npos)
      << Log();
}

TEST_F(UnattendedRun, ReadOnlyProgramFolderKeepsTheStateInTheFallback) {
  UseRelease(2, "AutoReboot=1", {{1, "Restart=1\nParameters={tmp}\\a.log"}});
  system.read_only_folders = {kFolder};
  system.arguments = {"/silent"};
  StartAndDecide();
  FinishPackage();  // package 1 demands the restart
  const std::string fallback = "C:\\ProgramData\\UpdatePackages\\Pack\\";
  EXPECT_TRUE(system.folders.count(fallback + "data\\setuptemp"));
  ASSERT_EQ(system.runs.size(), 1u);
  EXPECT_NE(system.runs[0].command_line.find(fallback + "data\\setuptemp\\a.log"),
            std::string::npos);
  EXPECT_EQ(system.files[fallback + "rir_eridivu"], "2\r\n1\r\n0\r\n0\r\n0\r\n1\r\n");
  EXPECT_FALSE(system.FileExists(ContinuationPath()));

  system.arguments.clear();  // the logon starts the program without arguments
  test::Program after_logon{system};
  app::TFMain& main = after_logon.Start();
  main.TStart.Tick();
  EXPECT_EQ(main.context.forms.FKopieren->LKopierDatei.Caption(), "Package 2");
  EXPECT_TRUE(after_logon.dialogs.messages.empty());
}

TEST_F(UnattendedRun, ContinuationInTheFallbackIsUnattendedFromTheStart) {
  UseRelease(2);
  system.read_only_folders = {kFolder};
  for (const char* folder :
       {"C:\\ProgramData\\UpdatePackages\\", "C:\\ProgramData\\UpdatePackages\\Pack\\"})
    system.files[std::string(folder) + "UpdatePackages.mark"] = "";
  system.folders.insert("C:\\ProgramData\\UpdatePackages");
  system.folders.insert("C:\\ProgramData\\UpdatePackages\\Pack");
  system.files["C:\\ProgramData\\UpdatePackages\\Pack\\rir_eridivu"] = File(2, "1\r\n");
  system.files.erase(Data("side1.bmp"));
  StartAndDecide();
  EXPECT_TRUE(dialogs.error_boxes.empty());
  EXPECT_NE(Log().find("side1.bmp"), std::string::npos) << Log();
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 2");
}

TEST_F(UnattendedRun, ErrorsOfASilentRunGoToTheLogAndTheRunGoesOn) {
  UseRelease(1);
  system.files.erase(Data("side1.bmp"));
  system.arguments = {"/silent"};
  StartAndDecide();
  EXPECT_TRUE(dialogs.error_boxes.empty());
  EXPECT_NE(Log().find("Datei C:\\Release\\Data\\side1.bmp kann nicht geöffnet werden"),
            std::string::npos)
      << Log();
  EXPECT_EQ(Log().rfind("\xEF\xBB\xBF", 0), 0u);  // UTF-8 with a byte-order mark
  EXPECT_TRUE(Install().Visible());
  EXPECT_EQ(system.workers.size(), 1u);
}

}  // namespace
