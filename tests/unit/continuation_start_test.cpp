// What starts the rest of a run after the restart: the run-once value at the
// next logon, or a task of the Task Scheduler at the next system start for a
// run as LocalSystem or with "/resume:boot"; removed when the run ends, and a
// task that can't be registered is a failed hand-over.
#include <gtest/gtest.h>

#include <ostream>

#include "finish/finish_page.h"
#include "frame/continuation_start.h"
#include "release_fixture.h"

namespace {

class ContinuationStart : public test::ReleaseFixture {
 protected:
  // A silent run of three packages whose first asks for a restart: the
  // hand-over comes when package 1 has ended.
  void HandOverAfterPackageOne(const std::vector<std::string>& switches = {}) {
    UseRelease(3, "", {{1, "Restart=1"}});
    system.arguments = {"/silent"};
    system.arguments.insert(system.arguments.end(), switches.begin(), switches.end());
    StartAndDecide();
    FinishPackage();
  }

  std::string Log() { return system.files[main->context.Log().Path()]; }
  // The log's absolute path, as every continuation carries it.
  std::string CarriedLog() { return "\"/log:" + main->context.Log().Path() + "\""; }
};

struct Road {
  const char* name;
  bool local_system, switch_given, elevated;
  bool xp;
  // What starts the continuation: the task, or a run-once value in which hive.
  bool task, machine_wide;
};

std::ostream& operator<<(std::ostream& out, const Road& road) {
  return out << road.name;
}

const platform::OsVersion kXp{2, 5, 1, "Service Pack 3"};

class ContinuationRoads : public ContinuationStart, public ::testing::WithParamInterface<Road> {};

TEST_P(ContinuationRoads, TheHandOverRegistersOneStart) {
  const Road road = GetParam();
  system.local_system = road.local_system;
  system.elevated = road.elevated;
  if (road.xp) system.version = kXp;
  HandOverAfterPackageOne(road.switch_given ? std::vector<std::string>{"/resume:boot"}
                                            : std::vector<std::string>{});
  EXPECT_TRUE(main->context.Run().Saved());
  const std::string carried = (road.switch_given ? " /resume:boot " : " ") + CarriedLog();
  // The task carries its run's continuation file as its mark.
  const std::string switches = carried + " \"/continuation:C:\\Release\\rir_eridivu\"";
  if (road.task) {
    EXPECT_TRUE(system.run_once.empty());
    ASSERT_EQ(system.boot_tasks.size(), 1u);
    const auto& [name, task] = *system.boot_tasks.begin();
    EXPECT_EQ(name, "rir Eridivu");
    EXPECT_EQ(task.program, "C:\\Release\\Installer.exe");
    EXPECT_EQ(task.arguments, switches.substr(1));
    EXPECT_NE(Log().find("Aufgabenplanung, rir Eridivu beim Systemstart als LocalSystem = "
                         "\"C:\\Release\\Installer.exe\"" +
                         switches),
              std::string::npos)
        << Log();
  } else {
    EXPECT_TRUE(system.boot_tasks.empty());
    ASSERT_EQ(system.run_once.size(), 1u);
    EXPECT_EQ(system.run_once[0].command, "\"C:\\Release\\Installer.exe\"" + switches);
    EXPECT_EQ(system.run_once[0].machine_wide, road.machine_wide);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryAccount, ContinuationRoads,
    ::testing::Values(Road{"User", false, false, false, false, false, false},
                      Road{"Administrator", false, false, true, false, false, true},
                      Road{"LocalSystem", true, false, true, false, true, false},
                      Road{"AdministratorWithTheSwitch", false, true, true, false, true, false},
                      // Only administrators may register a task for the system start.
                      Road{"UserWithTheSwitch", false, true, false, false, false, false},
                      // No Task Scheduler 2.0: the machine's run-once value, read at an
                      // administrator's logon; LocalSystem's own key no logon reads.
                      Road{"LocalSystemOnXp", true, false, true, true, false, true},
                      Road{"AdministratorWithTheSwitchOnXp", false, true, true, true, false,
                           false}),
    [](const ::testing::TestParamInfo<Road>& info) { return std::string(info.param.name); });

TEST_F(ContinuationStart, TheLogSaysWhyASwitchGoesOnAtTheLogon) {
  system.version = kXp;
  system.elevated = true;
  HandOverAfterPackageOne({"/resume:boot"});
  EXPECT_NE(Log().find("Keine Aufgabe für den Systemstart (vor Windows Vista): die Installation "
                       "geht nach der nächsten Anmeldung weiter"),
            std::string::npos)
      << Log();
}

// The task started the rest of the run as LocalSystem: it registers the task
// again (replacing it, for a kill or a power cut) and removes it at the end.
TEST_F(ContinuationStart, ContinuedRunAsLocalSystemRemovesTheTaskAtTheEnd) {
  UseRelease(2);
  system.local_system = system.elevated = true;
  system.boot_tasks["rir Eridivu"] = {"C:\\Release\\Installer.exe", "/resume:boot"};
  system.files[ContinuationPath()] = "2\r\n0\r\n0\r\n0\r\n0\r\n1\r\n";
  StartAndDecide();
  ASSERT_EQ(system.boot_tasks.size(), 1u);
  FinishPackage();
  EXPECT_TRUE(Pages().FEnde->Visible());
  EXPECT_TRUE(system.boot_tasks.empty());
  EXPECT_TRUE(system.run_once.empty());
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
  EXPECT_EQ(main->context.Run().ExitCode(), 0);
}

// An administrator goes on by hand with a run whose first half registered the
// task: the task must not start the program again at the next system start.
TEST_F(ContinuationStart, ContinuedRunWithoutTheSwitchRemovesATaskLeftByTheFirstHalf) {
  UseRelease(2);
  system.elevated = true;
  system.boot_tasks["rir Eridivu"] = {"C:\\Release\\Installer.exe", "/resume:boot"};
  system.files[ContinuationPath()] = "2\r\n0\r\n0\r\n0\r\n0\r\n1\r\n";
  StartAndDecide();
  FinishPackage();
  EXPECT_TRUE(Pages().FEnde->Visible());
  EXPECT_TRUE(system.boot_tasks.empty());
  EXPECT_TRUE(system.run_once.empty());
}

TEST_F(ContinuationStart, ATaskThatCantBeRegisteredIsAFailedHandOver) {
  system.local_system = system.elevated = true;
  system.boot_task_failure = "Der Dienst wurde nicht gestartet (0x80041315)";
  HandOverAfterPackageOne();
  const frame::RunState& run = main->context.Run();
  EXPECT_FALSE(run.Saved());
  EXPECT_EQ(run.HandOverFailure(),
            "der Eintrag für den Start nach der Anmeldung lässt sich nicht schreiben: "
            "Der Dienst wurde nicht gestartet (0x80041315)");
  EXPECT_EQ(run.ExitCode(), 1603);
  EXPECT_TRUE(application.Terminated());  // the silent run ends by itself
  EXPECT_EQ(application.ExitCode(), 1603);
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
  EXPECT_TRUE(system.run_once.empty());
  EXPECT_EQ(system.runs.size(), 1u);  // nothing ran after the failed hand-over
  EXPECT_NE(Log().find("Nicht registriert: Aufgabenplanung, rir Eridivu beim Systemstart als "
                       "LocalSystem = \"C:\\Release\\Installer.exe\" " +
                       CarriedLog() +
                       " \"/continuation:C:\\Release\\rir_eridivu\" (Der Dienst wurde nicht "
                       "gestartet (0x80041315))"),
            std::string::npos)
      << Log();
}

// The session ends while a package installs: the rest of the run goes on at
// the next system start too.
TEST_F(ContinuationStart, EndOfTheSessionAsLocalSystemRegistersTheTask) {
  UseRelease(2);
  system.local_system = system.elevated = true;
  system.arguments = {"/silent"};
  StartAndDecide();
  EXPECT_TRUE(application.QueryEndSession());
  EXPECT_TRUE(main->context.Run().Saved());
  EXPECT_EQ(system.boot_tasks.count("rir Eridivu"), 1u);
  EXPECT_TRUE(system.run_once.empty());
}

// Point 8: the Task Scheduler would read "%NAME%" in the task's arguments as a variable: the
// paths' "%" go as "*"; a program whose own path holds one goes on at the logon instead.
TEST_F(ContinuationStart, Point8APercentNeverReachesTheTaskScheduler) {
  system.elevated = true;
  HandOverAfterPackageOne({"/resume:boot", "/log:C:\\Logs 100%\\%TEMP%.log"});
  ASSERT_EQ(system.boot_tasks.size(), 1u);
  const auto& task = system.boot_tasks.begin()->second;
  EXPECT_EQ(task.arguments,
            "/resume:boot \"/log:C:\\Logs 100*\\*TEMP*.log\" "
            "\"/continuation:C:\\Release\\rir_eridivu\"");
  EXPECT_EQ(frame::ParseStartOptions({"/resume:boot", "/log:C:\\Logs 100*\\*TEMP*.log"}).log_path,
            "C:\\Logs 100%\\%TEMP%.log");
}

TEST_F(ContinuationStart, Point8AProgramInAPathWithAPercentGoesOnAtTheLogon) {
  system.elevated = true;
  UseRelease(3, "", {{1, "Restart=1"}});
  std::map<std::string, std::string> moved;
  for (const auto& [path, bytes] : system.files)
    moved["C:\\Updates 100%\\" + path.substr(11)] = bytes;
  system.files = moved;
  system.program_folder = "C:\\Updates 100%\\";
  system.arguments = {"/silent", "/resume:boot"};
  StartAndDecide();
  FinishPackage();
  EXPECT_TRUE(system.boot_tasks.empty());
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_NE(Log().find("Keine Aufgabe für den Systemstart (\"%\" im Pfad des Programms "
                       "C:\\Updates 100%\\Installer.exe)"),
            std::string::npos)
      << Log();
}

// A task whose run is over (its state gone) would start the program at every
// system start: the first such start removes it; a task of a run that goes on
// is left to that run.
TEST_F(ContinuationStart, ATaskWhoseRunIsGoneRemovesItself) {
  UseRelease(3);
  system.elevated = true;
  for (const bool state_there : {true, false}) {
    SCOPED_TRACE(state_there);
    system.boot_tasks["rir Eridivu"] = {"C:\\Release\\Installer.exe", "/continuation:x"};
    if (state_there) system.files[ContinuationPath()] = "3\r\n0\r\n0\r\n0\r\n0\r\n2\r\n";
    test::Program program{system};
    system.arguments = {"/resume:boot", "/continuation:C:\\Release\\rir_eridivu"};
    program.Start().TStart.Tick();
    EXPECT_EQ(program.application.Terminated(), !state_there);
    EXPECT_EQ(system.boot_tasks.size(), state_there ? 1u : 0u);
    system.files.erase(ContinuationPath());
  }
  EXPECT_NE(system.files["C:\\ProgramData\\UpdatePackages\\Installer.log"].find(
                "Die Fortsetzungsdatei C:\\Release\\rir_eridivu ist nicht mehr da: die "
                "Installation ist zu Ende, nichts startet sie wieder (Aufgabenplanung, rir "
                "Eridivu entfernt)"),
            std::string::npos);
}

}  // namespace
