#include "engine/package_runner.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace {

using release::OsIndex;

class PackageRunner : public ::testing::Test {
 protected:
  PackageRunner() { system.program_folder = "C:\\Setup\\"; }
  engine::PackageOutcome Run(const std::string& file, const std::string& parameters,
                             OsIndex os = OsIndex::Windows7) {
    return engine::RunPackage(system, "C:\\Setup\\Data\\" + file, {}, parameters,
                              "C:\\Setup\\data\\setuptemp", os);
  }
  test::FakeSystem system;
};

using engine::PackageState;

TEST_F(PackageRunner, MissingPackageStartsNothing) {
  EXPECT_EQ(Run("gone.exe", "{tmp}").state, PackageState::NotStarted);
  EXPECT_TRUE(system.runs.empty());
  EXPECT_TRUE(system.folders.empty());
}

TEST_F(PackageRunner, TemporaryFolderIsMadeOrEmptiedOnlyWhenUsed) {
  system.files["C:\\Setup\\Data\\a.exe"] = "x";
  Run("a.exe", "/quiet");
  EXPECT_TRUE(system.folders.empty());
  Run("a.exe", "/quiet /log:{TMP}\\a.log /x {tmp}\\b");
  EXPECT_TRUE(system.FolderExists("C:\\Setup\\data\\setuptemp"));
  EXPECT_TRUE(system.cleared_masks.empty());
  Run("a.exe", "{tmp}");
  EXPECT_EQ(system.cleared_masks, std::vector<std::string>{"C:\\Setup\\data\\setuptemp\\*.*"});
  ASSERT_EQ(system.runs.size(), 3u);
  EXPECT_EQ(system.runs[1].command_line,
            "\"C:\\Setup\\Data\\a.exe\" /quiet /log:C:\\Setup\\data\\setuptemp\\a.log /x "
            "C:\\Setup\\data\\setuptemp\\b");
  EXPECT_EQ(system.runs[1].working_folder, "C:\\Setup\\Data\\");
}

TEST_F(PackageRunner, UnmakeableTemporaryFolderEndsTheBody) {
  system.files["C:\\Setup\\Data\\a.exe"] = "x";
  system.writes_fail = true;
  EXPECT_THROW(Run("a.exe", "{tmp}"), std::exception);
  EXPECT_TRUE(system.runs.empty());
}

TEST_F(PackageRunner, MsuRunsOnlyOnVistaAndSeven) {
  system.files["C:\\Setup\\Data\\u.msu"] = "x";
  EXPECT_EQ(Run("u.msu", "/quiet", OsIndex::WindowsXP).state, PackageState::NotStarted);
  EXPECT_TRUE(system.runs.empty());
  EXPECT_EQ(Run("u.msu", "/quiet", OsIndex::WindowsVista).state, PackageState::Installed);
  ASSERT_EQ(system.runs.size(), 1u);
  EXPECT_EQ(system.runs[0].command_line,
            "\"C:\\Windows\\system32\\wusa.exe\" \"C:\\Setup\\Data\\u.msu\" /quiet");
}

TEST_F(PackageRunner, RecordedIe7IsLeftOutOnWindowsXpOnly) {
  system.files["C:\\Setup\\Data\\IE7-WindowsXP-x86-deu.exe"] = "x";
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP"] = {"SP0"};
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP\\SP0"] = {"ie7"};
  EXPECT_EQ(Run("IE7-WindowsXP-x86-deu.exe", "/q", OsIndex::WindowsVista).state,
            PackageState::Installed);
  EXPECT_EQ(system.runs.size(), 1u);
  const engine::PackageOutcome recorded =
      Run("IE7-WindowsXP-x86-deu.exe", "/q", OsIndex::WindowsXP);
  EXPECT_EQ(recorded.state, PackageState::AlreadyInstalled);
  EXPECT_FALSE(recorded.started);
  EXPECT_EQ(system.runs.size(), 1u);
}

TEST(ClassifyExitCode, TheCodesOfWindowsInstallerAndWusa) {
  using engine::ClassifyExitCode;
  EXPECT_EQ(ClassifyExitCode(0), PackageState::Installed);
  for (const std::uint32_t restart : {3010u, 3011u, 2359301u, 0x80070BC2u}) {
    EXPECT_EQ(ClassifyExitCode(restart), PackageState::RestartNeeded) << restart;
  }
  EXPECT_EQ(ClassifyExitCode(1641), PackageState::RestartStarted);
  EXPECT_EQ(ClassifyExitCode(2359302), PackageState::AlreadyInstalled);
  EXPECT_EQ(ClassifyExitCode(0x80240017), PackageState::NotApplicable);
  // Neighbours of the update installer's codes are failures like any other.
  for (const std::uint32_t failure : {1u, 1602u, 1603u, 1618u, 1638u, 3012u, 2359303u, 0xFFFFFFFFu,
                                      0x80240016u, 0x80240018u, 0x80070BC9u, 0x00070BC2u}) {
    EXPECT_EQ(ClassifyExitCode(failure), PackageState::Failed) << failure;
  }
}

TEST_F(PackageRunner, ExitCodeDecidesTheOutcome) {
  system.files["C:\\Setup\\Data\\a.exe"] = "x";
  for (const auto& [code, state] : std::vector<std::pair<std::uint32_t, PackageState>>{
           {0, PackageState::Installed},
           {3010, PackageState::RestartNeeded},
           {3011, PackageState::RestartNeeded},
           {0x00240005, PackageState::RestartNeeded},
           {1641, PackageState::RestartStarted},
           {0x00240006, PackageState::AlreadyInstalled},
           {1603, PackageState::Failed},
           {1, PackageState::Failed},
           {0xC0000005, PackageState::Failed}}) {
    system.exit_codes["a.exe"] = code;
    const engine::PackageOutcome outcome = Run("a.exe", "/q");
    EXPECT_EQ(outcome.state, state) << code;
    EXPECT_TRUE(outcome.started) << code;
    EXPECT_EQ(outcome.exit_code, code);
  }
}

TEST_F(PackageRunner, WhatWasNotStartedSaysWhy) {
  const engine::PackageOutcome missing = Run("gone.exe", "");
  EXPECT_FALSE(missing.started);
  EXPECT_EQ(missing.reason, "Die Datei C:\\Setup\\Data\\gone.exe fehlt.");

  system.files["C:\\Setup\\Data\\notes.txt"] = "x";
  const engine::PackageOutcome no_kind = Run("notes.txt", "");
  EXPECT_EQ(no_kind.state, PackageState::NotStarted);
  EXPECT_EQ(no_kind.reason_word, release::kWordNoInstaller);  // said in the release's words

  system.files["C:\\Setup\\Data\\a.exe"] = "x";
  system.start_failures = {"a.exe"};
  const engine::PackageOutcome refused = Run("a.exe", "");
  EXPECT_EQ(refused.state, PackageState::NotStarted);
  EXPECT_FALSE(refused.started);
  EXPECT_EQ(refused.reason, "Das System kann die angegebene Datei nicht finden.");
}

}  // namespace
