// A restart that Windows already waits for when the installation begins: an
// unattended run with automatic restart restarts first, once per run; the
// wizard asks; "/norestart" and a run without automatic restart only log it.
#include <gtest/gtest.h>

#include "engine/pending_restart.h"
#include "finish/finish_page.h"
#include "finish/restart_prompt.h"
#include "release_fixture.h"

namespace {

const std::string kServicing =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing";
const std::string kWindowsUpdate =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update";
const std::string kWaits = "Windows wartet bereits auf einen Neustart: HKEY_LOCAL_MACHINE\\" +
                           kServicing + "\\RebootPending";
const std::string kRestartsFirst = "Der Computer wird vor dem ersten Paket neu gestartet";
const std::string kWithout = "Die Installation beginnt ohne diesen Neustart";

TEST(PendingRestartKey, EitherMarkOfWindowsInAnyLetterCase) {
  std::map<std::string, std::vector<std::string>> keys;
  const auto subkeys = [&](const std::string& key) {
    return keys.count(key) ? keys.at(key) : std::vector<std::string>{};
  };
  EXPECT_EQ(engine::PendingRestartKey(subkeys), "");
  keys[kServicing] = {"Packages", "SessionsPending", "RebootPendingNot"};
  keys[kWindowsUpdate] = {"Results", "RequestedAppCategories"};
  EXPECT_EQ(engine::PendingRestartKey(subkeys), "") << "only the exact names count";
  keys[kWindowsUpdate].push_back("REBOOTREQUIRED");
  EXPECT_EQ(engine::PendingRestartKey(subkeys), kWindowsUpdate + "\\RebootRequired");
  keys[kServicing].push_back("rebootpending");
  EXPECT_EQ(engine::PendingRestartKey(subkeys), kServicing + "\\RebootPending");
}

class PendingRestart : public test::ReleaseFixture {
 protected:
  PendingRestart() { system.machine_keys[kServicing] = {"Packages", "RebootPending"}; }

  static std::string PendingPath() { return ContinuationPath() + ".pendingrestart"; }
  std::string Log() { return system.files["C:\\Temp\\Installer.log"]; }
  bool Logged(const std::string& line) { return Log().find(line) != std::string::npos; }
  int Occurrences(const std::string& text) {
    const std::string log = Log();
    int found = 0;
    for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++found;
    return found;
  }
  // The logon after the restart starts the program from its run-once value.
  app::TFMain& LogOn(test::Program& after_logon) {
    EXPECT_FALSE(system.run_once.empty());
    system.run_once.clear();
    system.arguments.clear();
    app::TFMain& main = after_logon.Start();
    main.TStart.Tick();
    return main;
  }
  void FinishAll() {
    while (system.FinishWorker()) {
    }
  }
};

TEST_F(PendingRestart, SilentRunRestartsFirstThenInstallsEverythingAndNeverAgain) {
  UseRelease(3, "", {{2, "Restart=1"}});
  system.arguments = {"/silent"};
  StartAndDecide();
  EXPECT_TRUE(system.runs.empty()) << "a package ran before the restart";
  EXPECT_TRUE(system.workers.empty());
  EXPECT_EQ(system.restart_requests, 1);
  EXPECT_EQ(system.files[ContinuationPath()], "3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n1\r\n2\r\n");
  EXPECT_TRUE(system.FileExists(PendingPath()));
  EXPECT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(main->context.Run().ExitCode(), 1641);
  EXPECT_TRUE(Logged(kWaits + "\r\n")) << Log();
  EXPECT_TRUE(Logged(kRestartsFirst)) << Log();
  EXPECT_TRUE(Logged("Neustart vor Paket 1: Fortsetzungsdatei C:\\Release\\rir_eridivu")) << Log();
  EXPECT_TRUE(dialogs.questions.empty());

  // The key stays after the restart: the continued run installs all the
  // same, and package 2's own restart hands the marker on.
  test::Program first_logon{system};
  LogOn(first_logon);
  FinishPackage();
  FinishPackage();
  EXPECT_EQ(system.runs.size(), 2u);
  EXPECT_EQ(system.restart_requests, 2);  // package 2's
  EXPECT_EQ(system.files[ContinuationPath()], "3\r\n1\r\n0\r\n0\r\n0\r\n2\r\n");
  EXPECT_TRUE(system.FileExists(PendingPath()));

  test::Program second_logon{system};
  app::TFMain& last = LogOn(second_logon);
  FinishAll();
  EXPECT_EQ(system.runs.size(), 3u);
  EXPECT_EQ(system.restart_requests, 2);
  EXPECT_TRUE(last.context.forms.FEnde->Visible());
  EXPECT_FALSE(system.FileExists(PendingPath())) << "the run is over, its state must go";
  EXPECT_EQ(Occurrences(kWaits), 3) << Log();
  EXPECT_EQ(Occurrences(kRestartsFirst), 1) << Log();
  EXPECT_EQ(Occurrences(kWithout + " (in diesem Lauf schon dafür neu gestartet)"), 2) << Log();
}

TEST_F(PendingRestart, WindowsUpdatesMarkCountsAsWell) {
  system.machine_keys.clear();
  system.machine_keys[kWindowsUpdate] = {"RebootRequired"};
  UseRelease(2);
  system.arguments = {"/silent"};
  StartAndDecide();
  EXPECT_TRUE(system.runs.empty());
  EXPECT_EQ(system.restart_requests, 1);
  EXPECT_TRUE(Logged("Windows wartet bereits auf einen Neustart: HKEY_LOCAL_MACHINE\\" +
                     kWindowsUpdate + "\\RebootRequired"))
      << Log();
}

TEST_F(PendingRestart, NoRestartSwitchOnlyLogsIt) {
  UseRelease(2);
  system.arguments = {"/silent", "/norestart"};
  StartAndDecide();
  FinishAll();
  EXPECT_EQ(system.runs.size(), 2u);
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_FALSE(system.FileExists(PendingPath()));
  EXPECT_TRUE(Logged(kWaits)) << Log();
  EXPECT_TRUE(Logged(kWithout + " (/norestart)")) << Log();
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
}

// A continued run of a wizard run without automatic restart: nobody may be
// asked, and nothing restarts by itself.
TEST_F(PendingRestart, UnattendedRunWithoutAutomaticRestartOnlyLogsIt) {
  UseRelease(3);
  system.files[ContinuationPath()] = "3\r\n0\r\n0\r\n0\r\n0\r\n1\r\n2\r\n";
  StartAndDecide();
  FinishAll();
  EXPECT_EQ(system.runs.size(), 2u);
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_TRUE(Logged(kWithout + " (unbeaufsichtigt ohne automatischen Neustart)")) << Log();
}

TEST_F(PendingRestart, WizardAsksAndRestartsFirstOnRequest) {
  UseRelease(2);
  StartAndDecide();
  dialogs.answer = true;
  Pages().FWillkommen->BWeiter.Click();
  ASSERT_EQ(dialogs.contents.size(), 1u);
  const platform::DialogContent& asked = dialogs.contents[0];
  EXPECT_EQ(asked.text, main->context.Words[release::kWordPendingRestartQuestion]);
  EXPECT_EQ(asked.text.rfind("Windows wartet bereits auf einen Neustart des Computers.", 0), 0u);
  ASSERT_EQ(asked.buttons.size(), 2u);
  EXPECT_EQ(asked.buttons[0].caption, "&Zuerst neu starten");
  EXPECT_EQ(asked.buttons[1].caption, "&Trotzdem installieren");
  EXPECT_EQ(asked.caption, "Bestätigen");
  // Automatic restart is off: the notice of the restart comes, as before
  // any restart in the middle of a run.
  EXPECT_TRUE(Pages().Form1->Visible());
  EXPECT_TRUE(system.runs.empty());
  EXPECT_EQ(system.restart_requests, 1);
  EXPECT_EQ(system.files[ContinuationPath()], "2\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n");
  EXPECT_TRUE(system.FileExists(PendingPath()));
  EXPECT_TRUE(Logged(kRestartsFirst)) << Log();
}

TEST_F(PendingRestart, WizardInstallsAnywayOnRequest) {
  UseRelease(2, "AutoReboot=1");
  StartAndDecide();
  dialogs.answer = false;
  Pages().FWillkommen->BWeiter.Click();
  EXPECT_EQ(dialogs.questions.size(), 1u);
  FinishAll();
  EXPECT_EQ(system.runs.size(), 2u);
  EXPECT_EQ(system.restart_requests, 0) << "the countdown of the finish page has not run out";
  EXPECT_FALSE(system.FileExists(PendingPath()));
  EXPECT_TRUE(Pages().FEnde->Visible());
  EXPECT_TRUE(Logged(kWithout + " (Antwort des Benutzers)")) << Log();
}

// Windows XP keeps no such mark: one that a tool left there means nothing.
TEST_F(PendingRestart, NothingIsAskedWithoutAMarkNorBeforeVista) {
  struct Case {
    const char* system;
    bool marked;
    platform::OsVersion version;
  };
  for (const Case& c : {Case{"Windows 7 without the mark", false, {2, 6, 1, "Service Pack 1"}},
                        Case{"Windows XP with the mark", true, {2, 5, 1, "Service Pack 3"}}}) {
    SCOPED_TRACE(c.system);
    test::Program fresh{system};
    UseRelease(1);
    system.runs.clear();
    system.files.erase("C:\\Temp\\Installer.log");
    system.version = c.version;
    system.machine_keys.clear();
    if (c.marked) system.machine_keys[kServicing] = {"Packages", "RebootPending"};
    app::TFMain& m = fresh.Start();
    m.TStart.Tick();
    m.context.forms.FWillkommen->BWeiter.Click();
    EXPECT_TRUE(fresh.dialogs.questions.empty());
    FinishAll();
    EXPECT_EQ(system.runs.size(), 1u);
    EXPECT_EQ(system.restart_requests, 0);
    EXPECT_FALSE(system.FileExists(PendingPath()));
    EXPECT_FALSE(Logged("Windows wartet bereits")) << Log();
  }
}

}  // namespace
