#include <gtest/gtest.h>

#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "finish/restart_prompt.h"
#include "frame/continuation.h"
#include "release/errors.h"
#include "release_fixture.h"

namespace {

class InstallSequence : public test::ReleaseFixture {
 protected:
  engine::TFKopieren& Install() { return *Pages().FKopieren; }
  finish::TFEnde& Finish() { return *Pages().FEnde; }
  wizard::TFErweitert& Advanced() { return *Pages().FErweitert; }

  // Progress bar and tray index while each package runs.
  std::vector<std::pair<int, int>> ProgressOfEveryPackage() {
    std::vector<std::pair<int, int>> seen;
    while (!system.workers.empty()) {
      seen.emplace_back(Install().ProgressBar.Position(), main->TrayIcon.IconIndex());
      FinishPackage();
    }
    return seen;
  }
};

TEST_F(InstallSequence, ThreePackagesShowProgressAndTrayIndex) {
  UseRelease(3);
  system.version = {2, 5, 0, ""};  // Windows 2000 keeps the seventeen progress pictures
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_TRUE(Install().Visible());
  EXPECT_EQ(Install().LKopierStatus.Caption(), "W68 1 W33 3 (1,18 MB)");
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 1");
  EXPECT_EQ(main->TrayIcon.Hint(), "Pack - W71 (0%)");
  EXPECT_EQ(ProgressOfEveryPackage(),
            (std::vector<std::pair<int, int>>{{0, 0}, {33, 5}, {67, 11}}));
  EXPECT_TRUE(Finish().Visible());
  EXPECT_FALSE(Install().Visible());
  EXPECT_EQ(main->context.Run().RunTotal(), 3);
}

TEST_F(InstallSequence, PackagesRunInOrderWithParametersAndTheirFolder) {
  UseRelease(2);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  while (!system.workers.empty()) FinishPackage();
  ASSERT_EQ(system.runs.size(), 2u);
  EXPECT_EQ(system.runs[0].command_line, "\"C:\\Release\\Data\\pkg1.exe\" /q1");
  EXPECT_EQ(system.runs[0].working_folder, "C:\\Release\\Data\\");
  EXPECT_EQ(system.runs[1].command_line, "\"C:\\Release\\Data\\pkg2.exe\" /q2");
}

TEST_F(InstallSequence, EightPackagesRoundHalvesToEven) {
  UseRelease(8);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  const auto seen = ProgressOfEveryPackage();
  ASSERT_EQ(seen.size(), 8u);
  EXPECT_EQ(seen[1].first, 12);
  EXPECT_EQ(seen[3].first, 38);
}

TEST_F(InstallSequence, EmptyTableGoesStraightToTheFinishPage) {
  UseRelease(0);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_TRUE(system.workers.empty());
  EXPECT_TRUE(Finish().Visible());
  EXPECT_EQ(Finish().LHinweis->Caption(), "W44");
  EXPECT_EQ(Finish().LText.Caption(), "Fertig\r\r\rW46");
}

TEST_F(InstallSequence, ContinuationCountsOnFromTheRunTotal) {
  UseRelease(10);
  std::string text = "10\r\n0\r\n0\r\n0\r\n0\r\n";
  for (const char* row : {"6", "7", "8", "9"}) text += std::string(row) + "\r\n";
  system.files[std::string(kFolder) + "rir_eridivu"] = text;
  StartAndDecide();
  EXPECT_EQ(Install().LKopierStatus.Caption(), "W68 7 W33 10 (1,18 MB)");
  EXPECT_EQ(Install().ProgressBar.Position(), 60);
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 7");
}

TEST_F(InstallSequence, RestartInTheMiddleWritesTheContinuation) {
  UseRelease(4, "", {{2, "Restart=1"}});
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();  // package 1
  FinishPackage();  // package 2 demands the restart
  EXPECT_TRUE(system.workers.empty());
  ASSERT_EQ(system.runs.size(), 2u);
  const std::string path = std::string(kFolder) + "rir_eridivu";
  EXPECT_EQ(system.files[path], "4\r\n0\r\n0\r\n0\r\n0\r\n2\r\n3\r\n");
  EXPECT_TRUE(system.hidden_files.count(path));
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(system.run_once[0].name, "rir Eridivu");
  EXPECT_EQ(system.run_once[0].command,
            "\"C:\\Release\\Installer.exe\" \"/log:C:\\Temp\\Installer.log\" "
            "\"/continuation:C:\\Release\\rir_eridivu\"");
  EXPECT_FALSE(system.run_once[0].machine_wide);
  EXPECT_TRUE(Pages().Form1->Visible());  // the prompt, since automatic restart is off
  EXPECT_EQ(Pages().Form1->Caption(), "W76");
  EXPECT_EQ(system.restart_requests, 1);
  EXPECT_TRUE(main->context.Run().Restarting());
  EXPECT_EQ(Install().CurrentNumber, 3);
}

TEST_F(InstallSequence, ElevatedOnUacSystemsTheRunOnceIsMachineWide) {
  // Vista, 7, 8, 8.1, 10/11 and later systems have user account control; XP and an unknown
  // system not.
  for (const auto& [version, machine_wide] :
       std::vector<std::pair<platform::OsVersion, bool>>{{{2, 6, 0, ""}, true},
                                                         {{2, 6, 1, ""}, true},
                                                         {{2, 6, 2, ""}, true},
                                                         {{2, 6, 3, ""}, true},
                                                         {{2, 10, 0, ""}, true},
                                                         {{2, 5, 1, ""}, false},
                                                         {{2, 11, 0, ""}, true},
                                                         {{2, 6, 4, ""}, false}}) {
    test::Program fresh{system};
    UseRelease(2, "AutoReboot=1", {{1, "Restart=1"}});
    system.elevated = true;
    system.version = version;
    system.run_once.clear();
    system.files.erase(std::string(kFolder) + "rir_eridivu");  // from the round before
    system.restart_requests = 0;
    app::TFMain& m = fresh.Start();
    m.TStart.Tick();
    m.context.forms.FWillkommen->BWeiter.Click();
    system.FinishWorker();
    ASSERT_EQ(system.run_once.size(), 1u) << version.major << "." << version.minor;
    EXPECT_EQ(system.run_once[0].machine_wide, machine_wide)
        << version.major << "." << version.minor;
    EXPECT_FALSE(m.context.forms.Form1->Visible());  // automatic restart needs no prompt
    EXPECT_EQ(system.restart_requests, 1);
  }
}

TEST_F(InstallSequence, PackageLeftOutAsInstalledDemandsNoRestart) {
  UseRelease(3, "", {{2, "Restart=1\nFile=IE7-WindowsXP-x86-deu.exe"}});
  system.files[Data("IE7-WindowsXP-x86-deu.exe")] = "x";
  system.version = {2, 5, 1, "Service Pack 3"};
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP"] = {"SP0"};
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP\\SP0"] = {"IE7"};
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  FinishPackage();  // left out: nothing started
  EXPECT_EQ(system.runs.size(), 1u);
  EXPECT_EQ(system.workers.size(), 1u);  // package 3 runs at once
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 3");
}

TEST_F(InstallSequence, OnlyRestartOneDemandsARestart) {
  UseRelease(3, "", {{1, "Restart=0"}, {2, "Restart=0"}});
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  while (system.FinishWorker()) {
  }
  EXPECT_EQ(system.runs.size(), 3u);
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_TRUE(system.run_once.empty());
  EXPECT_TRUE(Finish().Visible());
}

TEST_F(InstallSequence, MissingFirstPackageLeavesTheNextToRun) {
  UseRelease(2, "", {{1, "File=missing.exe"}});
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();  // nothing was started
  EXPECT_TRUE(dialogs.error_boxes.empty());
  EXPECT_EQ(system.workers.size(), 1u);
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 2");
  EXPECT_EQ(system.restart_requests, 0);
}

// A fresh run keeps its state in step from its first package on: killed in
// the middle, it goes on at the next start with the package that ran.
TEST_F(InstallSequence, FreshRunIsOnDiskBeforeEachPackage) {
  UseRelease(3);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 2");
  EXPECT_EQ(system.files[ContinuationPath()], "3\r\n0\r\n0\r\n0\r\n0\r\n1\r\n2\r\n");
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(system.restart_requests, 0);
}

TEST_F(InstallSequence, FirstPackageAfterAStartNeverRestarts) {
  UseRelease(3, "", {{1, "Restart=1"}});
  system.files[std::string(kFolder) + "rir_eridivu"] = "3\r\n0\r\n0\r\n0\r\n0\r\n1\r\n2\r\n";
  StartAndDecide();
  EXPECT_EQ(system.workers.size(), 1u);  // package 2, although package 1 demands a restart
  EXPECT_EQ(system.restart_requests, 0);
}

TEST_F(InstallSequence, RestartTestLooksAtTheLastStartedPackage) {
  UseRelease(3, "", {{2, "Restart=1"}});
  StartAndDecide();
  Advanced().LVDateien.SetItemChecked(1, false);
  Pages().FMethode->CBAdvancedInstall.SetChecked(true);
  Pages().FErweitert->Show();
  Pages().FKopieren->StartInstallation();
  FinishPackage();  // package 1; package 2 was not chosen
  EXPECT_EQ(system.workers.size(), 1u);
  EXPECT_EQ(Install().LKopierDatei.Caption(), "Package 3");
}

// Nobody cancelled: the rest of the run is lost, which is a failure. A file written for the
// restart whose start can't be registered goes at once, before the user reads why: no start
// by hand may take it up meanwhile.
TEST_F(InstallSequence, FailedContinuationEndsAsAFailureWithItsReason) {
  struct Case {
    const char* what;
    std::function<void()> fail;
    std::string reason;
    bool file_while_told;  // the file written before package 1 stays, with what starts it
  };
  const std::string file = ContinuationPath();
  for (const Case& c : std::vector<Case>{
           {"the file", [&] { system.writes_fail = true; },
            "die Datei lässt sich nicht schreiben: " + file, true},
           {"the task that starts it", [&] { system.boot_task_failure = "Zugriff verweigert"; },
            "der Eintrag für den Start nach der Anmeldung lässt sich nicht schreiben: Zugriff "
            "verweigert",
            false}}) {
    SCOPED_TRACE(c.what);
    test::Program program{system};
    system.writes_fail = false;
    UseRelease(3, "", {{1, "Restart=1"}});
    system.elevated = true;
    system.arguments = {"/resume:boot"};
    app::TFMain& m = program.Start();
    m.TStart.Tick();
    m.context.forms.FWillkommen->BWeiter.Click();
    c.fail();
    bool file_while_told = false;
    program.dialogs.while_telling = [&] { file_while_told = system.FileExists(file); };
    FinishPackage();
    const std::string why = "Die Installation kann nach einem Neustart nicht fortgesetzt werden";
    ASSERT_EQ(program.dialogs.messages.size(), 1u);
    EXPECT_EQ(program.dialogs.messages[0].text, why + ": " + c.reason + ".");
    EXPECT_EQ(file_while_told, c.file_while_told);
    EXPECT_EQ(system.restart_requests, 0);
    EXPECT_EQ(system.workers.size(), 0u);  // package 2 does not start
    finish::TFEnde& finish = *m.context.forms.FEnde;
    EXPECT_TRUE(finish.Visible());
    EXPECT_EQ(finish.LHinweis->Caption(), why);
    EXPECT_EQ(finish.LText.Caption(), program.dialogs.messages[0].text);
    finish.CBNichtNeustarten.Click();
    finish.Close();
    EXPECT_EQ(program.application.ExitCode(), 1603);
    EXPECT_FALSE(system.FileExists(file));
  }
}

TEST_F(InstallSequence, LogsOfThePreviousPackageAreRecycledOnlyWhenAsked) {
  const std::map<int, std::string> logs = {{1, "Logfile=kb1.log"},
                                           {2, "Logfile=..\\boot.ini"},
                                           {3, "Logfile=C:\\x.log"},
                                           {4, "Logfile=\\x.log"},
                                           {5, "Logfile=/x.log"}};
  for (const bool delete_logs : {true, false}) {
    test::Program fresh{system};
    UseRelease(6, delete_logs ? "DeleteLogs=1" : "DeleteLogs=0", logs);
    system.recycled.clear();
    // The fake's paths are not normalised: seed the joined names as the
    // sequence would build them, so only the guard keeps them.
    system.files["C:\\Windows\\kb1.log"] = "log";
    system.files["C:\\Windows\\..\\boot.ini"] = "boot";
    system.files["C:\\Windows\\C:\\x.log"] = "x";
    system.files["C:\\Windows\\\\x.log"] = "x";
    system.files["C:\\Windows\\/x.log"] = "x";
    app::TFMain& m = fresh.Start();
    m.TStart.Tick();
    m.context.forms.FWillkommen->BWeiter.Click();
    while (system.FinishWorker()) {
    }
    EXPECT_EQ(system.recycled, delete_logs ? std::vector<std::string>{"C:\\Windows\\kb1.log"}
                                           : std::vector<std::string>{});
  }
}

// Beside the install log, also in a folder with blanks; the install log
// names each package's own log.
TEST_F(InstallSequence, MsiAndMsuPackagesWriteTheirOwnLogBesideTheInstallLog) {
  UseRelease(3, "",
             {{1, "File=Paket.msi"}, {2, "File=KB2.msu"}, {3, "File=KB3.msu\nParameters=/log:x"}});
  for (const char* file : {"Paket.msi", "KB2.msu", "KB3.msu"}) system.files[Data(file)] = "x";
  system.arguments = {"/log:C:\\Meine Protokolle\\Setup.log"};
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  while (system.FinishWorker()) {
  }
  ASSERT_EQ(system.runs.size(), 3u);
  EXPECT_EQ(system.runs[0].command_line,
            "\"C:\\Windows\\system32\\msiexec.exe\" /i \"C:\\Release\\Data\\Paket.msi\" /q1 "
            "/l*v \"C:\\Meine Protokolle\\Paket.msi.log\"");
  EXPECT_EQ(system.runs[1].command_line,
            "\"C:\\Windows\\system32\\wusa.exe\" \"C:\\Release\\Data\\KB2.msu\" /q2 "
            "/log:\"C:\\Meine Protokolle\\KB2.msu.evtx\"");
  EXPECT_EQ(system.runs[2].command_line,
            "\"C:\\Windows\\system32\\wusa.exe\" \"C:\\Release\\Data\\KB3.msu\" /log:x");
  const std::string log = system.files["C:\\Meine Protokolle\\Setup.log"];
  EXPECT_NE(log.find("Protokoll des Pakets: C:\\Meine Protokolle\\Paket.msi.log\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Protokoll des Pakets: C:\\Meine Protokolle\\KB2.msu.evtx\r\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("Protokoll des Pakets: C:\\Meine Protokolle\\KB3"), std::string::npos) << log;
}

// Deleting the logs means the packages' Logfile names: the log that the run
// had a package write stays, even where its Logfile names the same file.
TEST_F(InstallSequence, ThePackagesOwnLogsStayWhenLogsAreDeleted) {
  UseRelease(3, "DeleteLogs=1",
             {{1, "File=Paket.msi\nLogfile=Paket.msi.log"}, {2, "Logfile=kb2.log"}});
  system.files[Data("Paket.msi")] = "x";
  system.arguments = {"/log:C:\\Windows\\Setup.log"};
  system.files["C:\\Windows\\Paket.msi.log"] = "the package's own";
  system.files["C:\\Windows\\kb2.log"] = "log";
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  while (system.FinishWorker()) {
  }
  EXPECT_EQ(system.runs.size(), 3u);
  EXPECT_EQ(system.recycled, std::vector<std::string>{"C:\\Windows\\kb2.log"});
  EXPECT_TRUE(system.FileExists("C:\\Windows\\Paket.msi.log"));
}

TEST_F(InstallSequence, CancelAsksOnceAndEndsAfterTheRunningPackage) {
  UseRelease(3);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  dialogs.answer = true;
  Install().BAbbrechen.Click();
  Install().Close();
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"W56"});
  EXPECT_EQ(std::count(system.sounds.begin(), system.sounds.end(), "SYSTEMQUESTION"), 2);
  EXPECT_EQ(Install().LKopierStatus.Caption(), "W40");
  EXPECT_TRUE(Install().Visible());
  // What the user cancelled is never written ahead: until the run's end removes the file, it
  // stays as it stood before the package, even for a moment.
  const std::string before = system.files[ContinuationPath()];
  std::vector<std::string> on_disk;
  system.on_durable_write = [&] {
    if (system.FileExists(ContinuationPath())) on_disk.push_back(system.files[ContinuationPath()]);
  };
  FinishPackage();
  system.on_durable_write = nullptr;
  for (const std::string& file : on_disk) EXPECT_EQ(file, before);
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
  EXPECT_TRUE(system.workers.empty());
  EXPECT_EQ(system.runs.size(), 1u);
  EXPECT_TRUE(Finish().Visible());
  EXPECT_EQ(Finish().LHinweis->Caption(), "W45");
  EXPECT_FALSE(Finish().CBNichtNeustarten.Enabled());
  Finish().BAbbrechen.Click();
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(system.restart_requests, 0);
}

TEST_F(InstallSequence, MinimisedRunNeverShowsThePageButTheTrayIcon) {
  UseRelease(2, "Minimize=1");
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_FALSE(Install().Visible());
  EXPECT_TRUE(main->TrayIcon.IconVisible());
  main->MIWiederherstellen.Click();
  EXPECT_TRUE(Install().Visible());
  EXPECT_FALSE(main->TrayIcon.IconVisible());
}

// The taskbar button shows the run while the page can be seen: normal, in the
// error state from a failed package on, nothing while the page is in the tray
// and after the run.
TEST_F(InstallSequence, TaskbarButtonFollowsTheRun) {
  using ui::TaskbarProgress;
  using ui::TaskbarState;
  UseRelease(3);
  system.exit_codes["pkg2.exe"] = 1603;
  StartAndDecide();
  EXPECT_EQ(Install().Progress(), TaskbarProgress{});
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_EQ(Install().Progress(), (TaskbarProgress{TaskbarState::Normal, 0}));
  FinishPackage();
  EXPECT_EQ(Install().Progress(), (TaskbarProgress{TaskbarState::Normal, 33}));
  FinishPackage();  // package 2 fails
  EXPECT_EQ(Install().Progress(), (TaskbarProgress{TaskbarState::Error, 67}));
  Install().BHintergrund.Click();
  EXPECT_EQ(Install().Progress().state, TaskbarState::None);
  main->MIWiederherstellen.Click();
  EXPECT_EQ(Install().Progress(), (TaskbarProgress{TaskbarState::Error, 67}));
  FinishPackage();
  EXPECT_TRUE(Finish().Visible());
  EXPECT_EQ(Install().Progress().state, TaskbarState::None);
}

TEST_F(InstallSequence, MinimisedRunShowsNoTaskbarProgress) {
  UseRelease(2, "Minimize=1");
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_EQ(Install().Progress().state, ui::TaskbarState::None);
  main->MIWiederherstellen.Click();
  EXPECT_EQ(Install().Progress(), (ui::TaskbarProgress{ui::TaskbarState::Normal, 0}));
}

TEST_F(InstallSequence, LowPriorityReachesTheWorker) {
  UseRelease(1, "LowPriority=1");
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  ASSERT_EQ(system.workers.size(), 1u);
  EXPECT_TRUE(system.workers[0].low_priority);
}

class FinishAndRestart : public InstallSequence {
 protected:
  void CompleteRun(const std::string& defaults) {
    UseRelease(1, defaults);
    StartAndDecide();
    Pages().FWillkommen->BWeiter.Click();
    FinishPackage();
    ASSERT_TRUE(Finish().Visible());
  }
};

TEST_F(FinishAndRestart, ClosingAfterACompletedRunRestarts) {
  CompleteRun("");
  EXPECT_FALSE(Pages().FAutoReboot->Visible());
  Finish().BAbbrechen.Click();
  EXPECT_EQ(system.restart_requests, 1);
  EXPECT_TRUE(main->context.Run().Restarting());
  EXPECT_FALSE(application.Terminated());
}

TEST_F(FinishAndRestart, NotNowEndsTheProgramWithoutRestart) {
  CompleteRun("");
  Finish().CBNichtNeustarten.Click();
  Finish().Close();
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_TRUE(application.Terminated());
}

TEST_F(FinishAndRestart, RefusedRestartKeepsTheFinishPage) {
  CompleteRun("");
  system.restart_accepted = false;
  Finish().BAbbrechen.Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Kagge Mann\nZugriff verweigert");
  EXPECT_FALSE(dialogs.messages[0].information);
  EXPECT_TRUE(Finish().Visible());
  EXPECT_FALSE(main->context.Run().Restarting());  // nothing ends: the pages ask again
}

TEST_F(FinishAndRestart, CountdownRestartsAtTheEleventhTick) {
  CompleteRun("AutoReboot=1");
  finish::TFAutoReboot& countdown = *Pages().FAutoReboot;
  ASSERT_TRUE(countdown.Visible());
  EXPECT_FALSE(Finish().Enabled());
  EXPECT_NE(countdown.LStatus.Caption().find(" 10 Sekunden"), std::string::npos);
  for (int tick = 1; tick <= 10; ++tick) countdown.Timer.Tick();
  EXPECT_EQ(countdown.LStatus.Caption(),
            "Das System wird in 0 Sekunden neu gestartet. Klicken Sie auf \"Abbrechen\", um den "
            "Vorgang abzubrechen.");
  EXPECT_EQ(system.restart_requests, 0);
  countdown.Timer.Tick();
  EXPECT_EQ(system.restart_requests, 1);
  EXPECT_FALSE(countdown.Timer.Enabled());
}

TEST_F(FinishAndRestart, CountdownStopsByButtonOrCloseBox) {
  CompleteRun("AutoReboot=1");
  finish::TFAutoReboot& countdown = *Pages().FAutoReboot;
  countdown.Timer.Tick();
  countdown.Button1.Click();
  EXPECT_FALSE(countdown.Visible());
  EXPECT_FALSE(countdown.Timer.Enabled());
  EXPECT_TRUE(Finish().Enabled());
  countdown.Show();
  EXPECT_EQ(countdown.SecondsLeft, 10);
  countdown.Close();
  EXPECT_FALSE(countdown.Timer.Enabled());
  for (int tick = 0; tick < 12; ++tick) countdown.Timer.Tick();
  EXPECT_EQ(system.restart_requests, 0);
}

TEST(Continuation, FileLines) {
  EXPECT_EQ(frame::ContinuationText(10, {true, false, true, false}, {6, 9}),
            "10\r\n1\r\n0\r\n1\r\n0\r\n6\r\n9\r\n");
  EXPECT_EQ(frame::ContinuationText(0, {false, false, false, false}, {}),
            "0\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST(Continuation, TotalFromTheRowsStillToInstallUpToAThousandIsRead) {
  const frame::Continuation all =
      frame::ReadContinuation("3\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n2\r\n", 3);
  EXPECT_EQ(all.RunTotal, 3);
  EXPECT_EQ(all.Rows, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(frame::ReadContinuation("1000\r\n0\r\n0\r\n0\r\n0\r\n999\r\n", 1000).RunTotal, 1000);
  // A row named twice is still one package to install.
  EXPECT_EQ(frame::ReadContinuation("1\r\n0\r\n0\r\n0\r\n0\r\n2\r\n2\r\n", 3).Rows,
            (std::vector<int>{2, 2}));
}

// The file is the program's own, in ASCII; a damaged one may hold any bytes, and its error
// message reaches the log and the screen as text.
TEST(Continuation, DamagedBytesReachTheErrorMessageAsText) {
  try {
    frame::ReadContinuation("8\r\n0\r\n0\r\n0\r\n0\r\nb\xF6se\r\n", 8);
    FAIL() << "a row that is no number was read";
  } catch (const release::ConvertError& e) {
    EXPECT_STREQ(e.what(), "'b\xEF\xBF\xBDse' ist kein gültiger Integerwert");
  }
  EXPECT_EQ(frame::ReadFailures("1\t1603\tb\xF6se\t\r\n").at(0).name, "b\xEF\xBF\xBDse");
}

}  // namespace
