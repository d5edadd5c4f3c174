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
    return engine::RunPackage(system, "C:\\Setup\\Data\\" + file, parameters,
                              "C:\\Setup\\data\\setuptemp", os);
  }
  test::FakeSystem system;
};

using engine::PackageOutcome;

TEST_F(PackageRunner, MissingPackageStartsNothing) {
  EXPECT_EQ(Run("gone.exe", "{tmp}"), PackageOutcome::NotStarted);
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
  EXPECT_EQ(Run("u.msu", "/quiet", OsIndex::WindowsXP), PackageOutcome::NotStarted);
  EXPECT_TRUE(system.runs.empty());
  EXPECT_EQ(Run("u.msu", "/quiet", OsIndex::WindowsVista), PackageOutcome::Ran);
  ASSERT_EQ(system.runs.size(), 1u);
  EXPECT_EQ(system.runs[0].command_line,
            "\"C:\\Windows\\system32\\wusa.exe\" \"C:\\Setup\\Data\\u.msu\" /quiet");
}

TEST_F(PackageRunner, RecordedIe7IsLeftOutOnWindowsXpOnly) {
  system.files["C:\\Setup\\Data\\IE7-WindowsXP-x86-deu.exe"] = "x";
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP"] = {"SP0"};
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP\\SP0"] = {"ie7"};
  EXPECT_EQ(Run("IE7-WindowsXP-x86-deu.exe", "/q", OsIndex::WindowsVista), PackageOutcome::Ran);
  EXPECT_EQ(system.runs.size(), 1u);
  EXPECT_EQ(Run("IE7-WindowsXP-x86-deu.exe", "/q", OsIndex::WindowsXP),
            PackageOutcome::RecordedAsInstalled);
  EXPECT_EQ(system.runs.size(), 1u);
}

}  // namespace
