// The record for deployment tools: where it goes, what it holds after a run,
// that it says "pending" from the hand-over to a restart until the continued
// run ends, and that a record that can't be written fails nothing.
#include <gtest/gtest.h>

#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "release_fixture.h"

namespace {

using Values = std::map<std::string, platform::System::RegistryData>;

class RunRecord : public test::ReleaseFixture {
 protected:
  static constexpr const char* kUserKey = "HKEY_CURRENT_USER\\SOFTWARE\\UpdatePackages\\Pack";

  // The values of a key the program wrote; a failure and nothing when it wrote none.
  Values Record(const std::string& key = kUserKey) {
    const auto found = system.registry.find(key);
    if (found == system.registry.end()) {
      ADD_FAILURE() << "no record under " << key;
      return {};
    }
    return found->second;
  }
  static std::uint32_t Number(const Values& values, const std::string& name) {
    return std::get<std::uint32_t>(values.at(name));
  }
  static std::string Text(const Values& values, const std::string& name) {
    return std::get<std::string>(values.at(name));
  }
  static std::vector<std::string> Texts(const Values& values, const std::string& name) {
    return std::get<std::vector<std::string>>(values.at(name));
  }
  // An administrator's run logs under ProgramData.
  std::string Log() {
    return system.files[system.elevated ? "C:\\ProgramData\\UpdatePackages\\Installer.log"
                                        : "C:\\Temp\\Installer.log"];
  }

  // The release as UseRelease makes it, under another [Main] Name and with a Version.
  void UseNamedRelease(int count, const std::string& name,
                       const std::map<int, std::string>& extra = {}) {
    UseRelease(count, "", extra);
    std::string& settings = system.files[Data("Settings.ini")];
    settings.replace(settings.find("Name=Pack"), 9, "Name=" + name + "\nVersion=2.1 (Mai 2024)");
  }

  void RunSilently() {
    StartAndDecide();
    while (system.FinishWorker()) {
    }
  }
};

// An administrator's run writes under HKEY_LOCAL_MACHINE, in a key named
// like the state folder ("\" can't be part of a key's name).
TEST_F(RunRecord, CompleteRunOfAnAdministratorWritesTheMachinesRecord) {
  UseNamedRelease(2, "Updates\\Dezember");
  system.elevated = true;
  system.arguments = {"/silent", "/norestart"};
  RunSilently();
  ASSERT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
  ASSERT_EQ(system.registry.size(), 1u);
  const Values record = Record("HKEY_LOCAL_MACHINE\\SOFTWARE\\UpdatePackages\\Updates_Dezember");
  EXPECT_EQ(record.size(), 5u);
  EXPECT_EQ(Text(record, "Version"), "2.1 (Mai 2024)");
  EXPECT_EQ(Number(record, "ExitCode"), 0u);
  EXPECT_EQ(Text(record, "Ended"), "2026-12-08 12:00:00");
  EXPECT_EQ(Texts(record, "FailedPackages"), std::vector<std::string>{});
  EXPECT_EQ(Number(record, "ContinuationPending"), 0u);
  EXPECT_NE(Log().find("HKEY_LOCAL_MACHINE\\SOFTWARE\\UpdatePackages\\Updates_Dezember: "
                       "ExitCode = 0, ContinuationPending = 0"),
            std::string::npos)
      << Log();
}

TEST_F(RunRecord, FailedPackagesAreNamedWithTheFailure) {
  UseRelease(3);
  system.arguments = {"/silent", "/norestart"};
  system.exit_codes["pkg1.exe"] = 1603;
  system.start_failures.insert("pkg3.exe");
  RunSilently();
  ASSERT_TRUE(application.Terminated());
  const Values record = Record();
  EXPECT_EQ(Number(record, "ExitCode"), 1603u);
  EXPECT_EQ(Texts(record, "FailedPackages"), (std::vector<std::string>{"Package 1", "Package 3"}));
  EXPECT_EQ(Number(record, "ContinuationPending"), 0u);
}

// The record is in place as soon as the hand-over is saved: the restart may
// end the process before it gets to its own end.
TEST_F(RunRecord, PendingFromTheHandOverUntilTheContinuedRunEnds) {
  UseRelease(3, "AutoReboot=1", {{1, "Restart=1"}});
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  ASSERT_EQ(system.restart_requests, 1);
  Values record = Record();
  EXPECT_EQ(Number(record, "ContinuationPending"), 1u);
  EXPECT_EQ(Number(record, "ExitCode"), 3010u);
  EXPECT_TRUE(application.QueryEndSession());
  application.SessionEnds();
  record = Record();
  EXPECT_EQ(Number(record, "ContinuationPending"), 1u);
  EXPECT_EQ(Number(record, "ExitCode"), 1641u);

  test::Program after_logon{system};
  app::TFMain& main = after_logon.Start();
  main.TStart.Tick();
  EXPECT_EQ(Number(Record(), "ContinuationPending"), 1u) << "the continued run is not over";
  while (system.FinishWorker()) {
  }
  const frame::Forms& pages = main.context.forms;
  ASSERT_TRUE(pages.FEnde->Visible());
  pages.FAutoReboot->Button1.Click();  // the countdown stops, the finish page stays
  pages.FEnde->CBNichtNeustarten.Click();
  pages.FEnde->Close();
  ASSERT_TRUE(after_logon.application.Terminated());
  record = Record();
  EXPECT_EQ(Number(record, "ContinuationPending"), 0u);
  EXPECT_EQ(Number(record, "ExitCode"), 0u);
}

TEST_F(RunRecord, EndOfTheSessionWhileAPackageRunsLeavesThePendingRecord) {
  UseRelease(3);
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();  // package 2 runs
  EXPECT_TRUE(application.QueryEndSession());
  EXPECT_EQ(Number(Record(), "ContinuationPending"), 1u);
}

// A wizard left before it installed anything changes nothing that a
// detection rule reads: the packages of an earlier run are still there.
TEST_F(RunRecord, RunThatInstalledNothingLeavesAnEarlierRecordAlone) {
  UseRelease(2);
  system.registry[kUserKey]["ExitCode"] = std::uint32_t{0};
  const auto before = system.registry;
  StartAndDecide();
  dialogs.answer = true;
  Pages().FWillkommen->BAbbrechen.Click();
  ASSERT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 1602);
  EXPECT_EQ(system.registry, before);
}

TEST_F(RunRecord, RecordThatCannotBeWrittenIsLoggedAndTheRunEndsAsItWould) {
  UseRelease(2);
  system.arguments = {"/silent", "/norestart"};
  system.registry_failure = "Zugriff verweigert";
  RunSilently();
  ASSERT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_NE(Log().find("Nicht geschrieben: HKEY_CURRENT_USER\\SOFTWARE\\UpdatePackages\\Pack "
                       "(Zugriff verweigert)"),
            std::string::npos)
      << Log();
  EXPECT_NE(Log().find("Ende mit Exitcode 0"), std::string::npos) << Log();
}

// Both halves of a run write one key: the second half, started without
// administrator rights (an XP logon of another user, a run-once value of the
// user), keeps the first half's, and the packages found installed before the
// restart count in the outcome.
TEST_F(RunRecord, BothHalvesOfARunWriteOneRecordAndCountWhatWasFoundInstalled) {
  UseRelease(3, "", {{1, "Restart=1"}, {3, "Detect=KB3"}});
  const std::string store =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";
  const std::string package = "Package_for_KB3~31bf3856ad364e35~amd64~~6.1.1.0";
  system.machine_keys[store] = {package};
  system.machine_values[store + "\\" + package]["CurrentState"] = std::uint32_t{112};
  system.elevated = true;
  system.arguments = {"/silent", "/norestart"};
  RunSilently();
  const std::string machine_key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\UpdatePackages\\Pack";
  EXPECT_EQ(Number(Record(machine_key), "ContinuationPending"), 1u);

  system.elevated = false;
  test::Program second{system};
  system.arguments = {"/norestart"};
  app::TFMain& continued = second.Start();
  continued.TStart.Tick();
  while (system.FinishWorker()) {
  }
  EXPECT_TRUE(second.application.Terminated());
  EXPECT_EQ(Number(Record(machine_key), "ContinuationPending"), 0u);
  EXPECT_EQ(Number(Record(machine_key), "ExitCode"), 0u);
  EXPECT_EQ(system.registry.count(kUserKey), 0u);
  EXPECT_EQ(continued.context.Run().FoundInstalled(), 1);
}

}  // namespace
