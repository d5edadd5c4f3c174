// Where the install log goes: one file for both halves of a run that spans a
// restart, whoever runs them and from whichever folder; its folder made when
// missing; and a run that goes on when the log can't be written.
#include <gtest/gtest.h>

#include "release_fixture.h"

namespace {

constexpr char kStart[] = "Start: Installer ";

int Occurrences(const std::string& text, const std::string& part) {
  int found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++found;
  return found;
}

class InstallLogPlace : public test::ReleaseFixture {
 protected:
  // Two packages, the first demanding a restart; the run stops there (/norestart) and leaves
  // its run-once value.
  void StartFirstHalf(const std::vector<std::string>& log_switch) {
    UseRelease(2, "", {{1, "Restart=1"}});
    system.arguments = {"/silent", "/norestart"};
    system.arguments.insert(system.arguments.end(), log_switch.begin(), log_switch.end());
    StartAndDecide();
    FinishPackage();
  }

  // The logon: the run-once command's switches, started from another folder.
  void RunSecondHalf(const std::vector<std::string>& arguments) {
    system.arguments = arguments;
    system.current_folder = "C:\\Windows\\system32\\";
    test::Program after_logon{system};
    after_logon.Start().TStart.Tick();
    ASSERT_TRUE(system.FinishWorker());
    EXPECT_TRUE(after_logon.application.Terminated());
    EXPECT_EQ(after_logon.application.ExitCode(), 0);
  }
};

TEST_F(InstallLogPlace, ARelativeLogIsMadeAbsoluteItsFoldersAreMadeAndBothHalvesWriteIt) {
  system.current_folder = "C:\\Work\\";
  StartFirstHalf({"/log:Protokolle\\neu\\lauf.log"});
  const std::string path = "C:\\Work\\Protokolle\\neu\\lauf.log";
  EXPECT_TRUE(system.folders.count("C:\\Work\\Protokolle"));
  EXPECT_TRUE(system.folders.count("C:\\Work\\Protokolle\\neu"));
  EXPECT_TRUE(system.protected_folders.empty());  // without administrator rights
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(system.run_once[0].command, "\"C:\\Release\\Installer.exe\" /norestart \"/log:" + path +
                                            "\" \"/continuation:C:\\Release\\rir_eridivu\"");
  EXPECT_EQ(Occurrences(system.files[path], kStart), 1) << system.files[path];

  RunSecondHalf({"/norestart", "/log:" + path});
  const std::string log = system.files[path];
  EXPECT_EQ(Occurrences(log, kStart), 2) << log;
  EXPECT_EQ(Occurrences(log, "Fortsetzungsdatei C:\\Release\\rir_eridivu gelesen"), 1) << log;
  EXPECT_NE(log.find("Ende mit Exitcode 0 (0x00000000)\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.rfind("\xEF\xBB\xBF"), 0u) << "one byte-order mark, at the start";
  EXPECT_FALSE(system.FileExists("C:\\Temp\\Installer.log"));
  EXPECT_FALSE(system.FileExists("C:\\Windows\\system32\\Protokolle\\neu\\lauf.log"));
}

// Without a "/log", the place depends on the rights: an administrator's log is one that the
// local system account of a deployment and the administrator after the restart both write.
TEST_F(InstallLogPlace, WithoutLogSwitchTheRightsChooseThePlaceAndTheContinuationCarriesIt) {
  for (const auto& [elevated, path] : std::vector<std::pair<bool, std::string>>{
           {false, "C:\\Temp\\Installer.log"},
           {true, "C:\\ProgramData\\UpdatePackages\\Installer.log"}}) {
    SCOPED_TRACE(path);
    system.elevated = elevated;
    system.files.erase(ContinuationPath());
    system.run_once.clear();
    test::Program first_half{system};
    UseRelease(2, "", {{1, "Restart=1"}});
    system.arguments = {"/silent", "/norestart"};
    first_half.Start().TStart.Tick();
    ASSERT_TRUE(system.FinishWorker());
    ASSERT_EQ(system.run_once.size(), 1u);
    EXPECT_EQ(system.run_once[0].command,
              "\"C:\\Release\\Installer.exe\" /norestart \"/log:" + path +
                  "\" \"/continuation:C:\\Release\\rir_eridivu\"");
    EXPECT_EQ(Occurrences(system.files[path], kStart), 1) << system.files[path];
  }
  // Only SYSTEM and the administrators may change a folder made for an administrator's log.
  EXPECT_TRUE(system.protected_folders.count("C:\\ProgramData\\UpdatePackages"));
  EXPECT_EQ(Occurrences(system.files["C:\\Temp\\Installer.log"], kStart), 1);
}

// The log's place needs no release: a release that can't be loaded still reports to it.
TEST_F(InstallLogPlace, AnErrorWhileLoadingTheReleaseGoesToTheLog) {
  SetSettings("[Main]\nName=Broken\nFiles=abc\n");
  system.elevated = true;
  system.arguments = {"/silent"};
  Start();
  EXPECT_TRUE(dialogs.error_boxes.empty());
  EXPECT_EQ(application.ExitCode(), 1);
  const std::string log = system.files["C:\\ProgramData\\UpdatePackages\\Installer.log"];
  EXPECT_NE(log.find("Fehler (nicht angezeigt): 'abc' ist kein gültiger Integerwert.\r\n"),
            std::string::npos)
      << log;
}

TEST_F(InstallLogPlace, ALogThatCannotBeWrittenLeavesTheRunGoingAndTellsTheDebugger) {
  UseRelease(1);
  system.read_only_folders = {"C:\\Logs\\"};
  system.arguments = {"/silent", "/norestart", "/log:C:\\Logs\\run.log"};
  StartAndDecide();
  FinishPackage();
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
  EXPECT_FALSE(system.FileExists("C:\\Logs\\run.log"));
  EXPECT_FALSE(system.FileExists("C:\\Temp\\Installer.log"));
  ASSERT_FALSE(system.debug_output.empty());
  const std::string told =
      "Installationsprotokoll C:\\Logs\\run.log nicht beschreibbar "
      "(Zugriff verweigert): 2026-12-08 12:00:00  ";
  EXPECT_EQ(system.debug_output.front().rfind(told + kStart, 0), 0u) << system.debug_output[0];
  EXPECT_EQ(system.debug_output.back(), told + "Ende mit Exitcode 0 (0x00000000)\r\n");
}

}  // namespace
