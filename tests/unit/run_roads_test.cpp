// Every road a run can take, for the wizard, "/silent" and a continued run:
// the exit code it ends with, and whether it ends by itself. A deployment
// tool waits for the process and reads its exit code, so an unattended run
// must never stop on a window; a watched run keeps its windows for the user.
#include <gtest/gtest.h>

#include <ostream>

#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "frame/install_lock.h"
#include "release_fixture.h"

namespace {

enum class Start { Wizard, Silent, Continued };

enum class Road {
  AllInstalled,           // the final restart is accepted and the session ends
  PackageFails,           // package 2 fails, the final restart follows
  MiddleRestartAccepted,  // package 1 asks for a restart before package 2
  MiddleRestartRefused,
  MiddleRestartVetoed,  // another program refuses the end of the session
  FinalRestartRefused,
  FinalRestartVetoed,
  NoRestart,             // "/norestart", nothing asks for a restart
  NoRestartInTheMiddle,  // "/norestart", package 1 asks for a restart
  HandOverFails,         // the continuation can't be written
  CancelBeforeLast,      // "Ja" while package 1 of 3 runs
  CancelDuringLast,      // "Ja" while package 3 runs
  CancelAfterLast,       // "Ja" arrives after package 3 has ended
  PackageRestartVetoed,  // package 1 exits 1641, another program vetoes
  LockBusy,              // another installer runs for longer than the wait
};

struct Row {
  Start start;
  Road road;
  int exit_code;
  bool ends_by_itself;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  static const char* const starts[] = {"wizard", "silent", "continued"};
  static const char* const roads[] = {
      "all installed",        "a package fails",    "restart in the middle accepted",
      "... refused",          "... vetoed",         "final restart refused",
      "final restart vetoed", "/norestart",         "/norestart in the middle",
      "hand-over fails",      "cancel before last", "cancel during last",
      "cancel after last",    "1641 vetoed",        "the lock busy"};
  return out << starts[static_cast<int>(row.start)] << ", " << roads[static_cast<int>(row.road)];
}

class RunRoads : public test::ReleaseFixture, public ::testing::WithParamInterface<Row> {
 protected:
  finish::TFEnde& Finish() { return *Pages().FEnde; }
  finish::TFAutoReboot& Countdown() { return *Pages().FAutoReboot; }
  engine::TFKopieren& Install() { return *Pages().FKopieren; }

  void SetUp() override {
    const Row row = GetParam();
    const Road road = row.road;
    const bool restart_in_the_middle =
        road == Road::MiddleRestartAccepted || road == Road::MiddleRestartRefused ||
        road == Road::MiddleRestartVetoed || road == Road::NoRestartInTheMiddle ||
        road == Road::HandOverFails;
    std::map<int, std::string> extra;
    if (restart_in_the_middle) extra[1] = "Restart=1";
    // The wizard's user chose the automatic restart, as "/silent" does.
    UseRelease(3, "AutoReboot=1", extra);
    if (road == Road::PackageFails) system.exit_codes["pkg2.exe"] = 1603;
    if (road == Road::PackageRestartVetoed) system.exit_codes["pkg1.exe"] = 1641;
    if (road == Road::MiddleRestartRefused || road == Road::FinalRestartRefused) {
      system.restart_accepted = false;
    }
    if (road == Road::NoRestart || road == Road::NoRestartInTheMiddle) {
      system.arguments.push_back("/norestart");
    }
    if (road == Road::LockBusy) system.install_lock_free = false;
    if (row.start == Start::Silent) system.arguments.insert(system.arguments.begin(), "/silent");
    if (row.start == Start::Continued) {
      system.files[ContinuationPath()] = "3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n1\r\n2\r\n";
    }
  }

  // Plays the run to where it stops: packages end, the countdown runs out,
  // and an accepted restart ends the session unless another program vetoes
  // it. Returns whether the program ended without anybody's click.
  bool Play() {
    const Road road = GetParam().road;
    StartAndDecide();
    dialogs.answer = true;
    if (GetParam().start == Start::Wizard) Pages().FWillkommen->BWeiter.Click();
    if (road == Road::LockBusy) WaitForTheLock();
    for (int package = 1; !system.workers.empty(); ++package) {
      if (road == Road::HandOverFails && package == 1) system.writes_fail = true;
      if ((road == Road::CancelBeforeLast && package == 1) ||
          (road == Road::CancelDuringLast && package == 3)) {
        Install().BAbbrechen.Click();
      }
      if (road == Road::CancelAfterLast && package == 3) {
        dialogs.while_asking = [this] { FinishPackage(); };
        Install().BAbbrechen.Click();
        dialogs.while_asking = nullptr;
        continue;
      }
      FinishPackage();
      const bool package_restarts = road == Road::PackageRestartVetoed && package == 1;
      if ((package_restarts || RestartAccepted()) && EndSession()) return true;
    }
    for (int tick = 0; tick < 11 && Countdown().Visible() && !application.Terminated(); ++tick) {
      Countdown().Timer.Tick();
    }
    if (RestartAccepted()) return EndSession();
    return application.Terminated();
  }

  // The whole wait that an unattended run allows.
  void WaitForTheLock() {
    constexpr int polls = app::TFMain::kInstallLockWaitMs / frame::InstallLock::kPollMs;
    for (int tick = 0; tick < polls && !application.Terminated(); ++tick) main->Lock.TLock.Tick();
  }

  // Windows accepted a restart request that was not yet played.
  bool RestartAccepted() {
    if (!system.restart_accepted || system.restart_requests == restarts_played_) return false;
    restarts_played_ = system.restart_requests;
    return true;
  }

  // The session ends after a restart, or another program vetoes it; true
  // when the program ended.
  bool EndSession() {
    EXPECT_TRUE(application.QueryEndSession());
    const Road road = GetParam().road;
    if (road == Road::MiddleRestartVetoed || road == Road::FinalRestartVetoed ||
        road == Road::PackageRestartVetoed) {
      application.SessionEndCancelled();
      return application.Terminated();
    }
    application.SessionEnds();
    return true;
  }

  // What a user at the keyboard does on a waiting finish page: stops the
  // countdown, ticks "Jetzt nicht neu starten" and closes the page.
  void CloseWithoutRestart() {
    if (GetParam().road == Road::LockBusy) {  // the wizard waits on the installation page
      Install().BAbbrechen.Click();
      main->Lock.TLock.Tick();
      Pages().FWillkommen->Close();
      return;
    }
    if (Countdown().Visible()) Countdown().Button1.Click();
    ASSERT_TRUE(Finish().Visible());
    if (Finish().CBNichtNeustarten.Enabled() && !Finish().CBNichtNeustarten.Checked()) {
      Finish().CBNichtNeustarten.Click();
    }
    Finish().Close();
    EXPECT_TRUE(application.Terminated());
  }

  int restarts_played_ = 0;
};

TEST_P(RunRoads, EndWithTheRunsExitCode) {
  const Row row = GetParam();
  const bool ended = Play();
  EXPECT_EQ(ended, row.ends_by_itself);
  if (!ended) CloseWithoutRestart();
  EXPECT_EQ(application.ExitCode(), row.exit_code);
  EXPECT_TRUE(dialogs.messages.empty() || row.start == Start::Wizard)
      << "an unattended run showed: " << dialogs.messages[0].text;
}

// The record for deployment tools tells what the exit code tells, and that a
// continuation is pending exactly while the run's state waits for a restart.
TEST_P(RunRoads, LeaveTheirEndInTheRecordForDeploymentTools) {
  if (!Play()) CloseWithoutRestart();
  if (GetParam().road == Road::LockBusy) {  // nothing was installed: an earlier record stays
    EXPECT_TRUE(system.registry.empty());
    return;
  }
  const auto& record = system.registry.at("HKEY_CURRENT_USER\\SOFTWARE\\UpdatePackages\\Pack");
  EXPECT_EQ(std::get<std::uint32_t>(record.at("ExitCode")),
            static_cast<std::uint32_t>(application.ExitCode()));
  EXPECT_EQ(std::get<std::uint32_t>(record.at("ContinuationPending")),
            system.FileExists(ContinuationPath()) ? 1u : 0u);
  const std::vector<std::string> failed = GetParam().road == Road::PackageFails
                                              ? std::vector<std::string>{"Package 2"}
                                              : std::vector<std::string>{};
  EXPECT_EQ(std::get<std::vector<std::string>>(record.at("FailedPackages")), failed);
}

// Unattended runs end by themselves on every road; the watched wizard waits
// wherever its user has something to read.
std::vector<Row> Table() {
  struct Expected {
    Road road;
    int exit_code;
    bool wizard_ends_by_itself;
  };
  const Expected expected[] = {
      {Road::AllInstalled, 1641, true},
      {Road::PackageFails, 1603, true},
      {Road::MiddleRestartAccepted, 1641, true},
      {Road::MiddleRestartRefused, 3010, false},
      {Road::MiddleRestartVetoed, 3010, false},
      {Road::FinalRestartRefused, 0, false},
      {Road::FinalRestartVetoed, 0, false},
      {Road::NoRestart, 0, false},
      {Road::NoRestartInTheMiddle, 3010, false},
      {Road::HandOverFails, 1603, false},
      {Road::CancelBeforeLast, 1602, false},
      {Road::CancelDuringLast, 1602, false},
      {Road::CancelAfterLast, 1641, true},  // too late: the run was complete
      {Road::PackageRestartVetoed, 3010, false},
      {Road::LockBusy, 1618, false},  // the wizard's user gives up and leaves: 1602
  };
  std::vector<Row> rows;
  for (const Start start : {Start::Wizard, Start::Silent, Start::Continued}) {
    for (const Expected& e : expected) {
      const bool watched = start == Start::Wizard;
      const int code = watched && e.road == Road::LockBusy ? 1602 : e.exit_code;
      rows.push_back({start, e.road, code, !watched || e.wizard_ends_by_itself});
    }
  }
  return rows;
}

INSTANTIATE_TEST_SUITE_P(EveryRoad, RunRoads, ::testing::ValuesIn(Table()));

}  // namespace
