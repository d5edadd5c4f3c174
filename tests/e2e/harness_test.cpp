// The harness's own pieces that need no Wine: journal records and path mapping.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "harness/probe_journal.h"
#include "harness/wine_paths.h"

namespace e2e {
namespace {

TEST(ProbeJournal, ReadsOneRecordPerLine) {
  auto runs = ParseProbeJournal(
      "1\tKB1.exe\t\"Z:\\r\\KB1.exe\" /q\tZ:\\r\t0\r\n"
      "2\tpkg 2.exe\tpkg2 \"a b\"\tC:\\windows\t-\n");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].sequence, 1);
  EXPECT_EQ(runs[0].file_name, "KB1.exe");
  EXPECT_EQ(runs[0].command_line, "\"Z:\\r\\KB1.exe\" /q");
  EXPECT_EQ(runs[0].working_dir, "Z:\\r");
  EXPECT_EQ(runs[0].show_window, "0");
  EXPECT_EQ(runs[1].sequence, 2);
  EXPECT_EQ(runs[1].file_name, "pkg 2.exe");
  EXPECT_EQ(runs[1].command_line, "pkg2 \"a b\"");
  EXPECT_EQ(runs[1].show_window, "-");
}

TEST(ProbeJournal, RejectsATornLine) {
  EXPECT_THROW(ParseProbeJournal("1\tKB1.exe\tKB1.exe\tZ:\\\t-\n2\tKB2.exe\tKB2\n"),
               std::runtime_error);
  EXPECT_THROW(ParseProbeJournal("x\tKB1.exe\tKB1.exe\tZ:\\\t-\n"), std::runtime_error);
}

TEST(ProbeJournal, EndRecordsBelongToTheRunOfTheirSequence) {
  auto runs = ParseProbeJournal(
      "1\tA1.exe\tA1\tZ:\\r\t0\n"
      "2\tB1.exe\tB1\tZ:\\r\t0\n"
      "end\t2\tB1.exe\n"
      "end\t1\tA1.exe\n"
      "3\tA2.exe\tA2\tZ:\\r\t0\n");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].start_line, 1);
  EXPECT_EQ(runs[0].end_line, 4);
  EXPECT_EQ(runs[1].start_line, 2);
  EXPECT_EQ(runs[1].end_line, 3);
  EXPECT_EQ(runs[2].sequence, 3);
  EXPECT_EQ(runs[2].start_line, 5);
  EXPECT_EQ(runs[2].end_line, 0);
}

TEST(ProbeJournal, RejectsAnEndOfNoRun) {
  const std::string start = "1\tA1.exe\tA1\tZ:\\r\t0\n";
  EXPECT_THROW(ParseProbeJournal("end\t1\tA1.exe\n" + start), std::runtime_error);
  EXPECT_THROW(ParseProbeJournal(start + "end\t1\tB1.exe\n"), std::runtime_error);
  EXPECT_THROW(ParseProbeJournal(start + "end\t1\tA1.exe\nend\t1\tA1.exe\n"), std::runtime_error);
  EXPECT_THROW(ParseProbeJournal(start + "end\t1\n"), std::runtime_error);
}

TEST(ProbeJournal, SideFileHoldsOnlyTheGivenKeys) {
  fs::path folder = NativeBuildDir() / "e2e-work" / "ProbeJournal";
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::path fake_probe = folder / "probe.exe";
  std::ofstream(fake_probe) << "MZ";
  ProbeSettings settings;
  settings.exit_code = 3010;
  settings.log_file = "KB1.log";
  settings.record_end = true;
  fs::path exe = PlaceProbe(fake_probe, folder / "release", "KB1.exe", settings);
  EXPECT_TRUE(fs::exists(exe));
  std::ifstream side(folder / "release" / "KB1.probe", std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(side)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "exit_code=3010\r\nlog_file=KB1.log\r\nrecord_end=1\r\n");
}

TEST(WinePaths, MapsLinuxPathsToDriveZAndBack) {
  EXPECT_EQ(ToWindowsPath("/work/a b/KB1.exe"), "Z:\\work\\a b\\KB1.exe");
  EXPECT_EQ(ToLinuxPath("Z:\\work\\a b\\KB1.exe"), fs::path("/work/a b/KB1.exe"));
  EXPECT_EQ(ToLinuxPath("z:/work"), fs::path("/work"));
  EXPECT_THROW(ToLinuxPath("C:\\windows"), std::invalid_argument);  // needs a prefix
  EXPECT_THROW(ToLinuxPath("windows"), std::invalid_argument);
}

TEST(WinePaths, ResolvesOtherDrivesThroughThePrefix) {
  fs::path prefix = NativeBuildDir() / "e2e-work" / "WinePaths" / "prefix";
  fs::remove_all(prefix);
  fs::create_directories(prefix / "dosdevices");
  fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
  EXPECT_EQ(ToLinuxPath("C:\\windows\\KB1.log", prefix),
            prefix / "drive_c" / "windows" / "KB1.log");
  EXPECT_THROW(ToLinuxPath("D:\\x", prefix), std::runtime_error);
}

// Points the tests at another Windows build for one scope.
class WindowsBuildDirForTest {
 public:
  explicit WindowsBuildDirForTest(const std::string& folder) {
    const char* before = std::getenv("INSTALLER_WINDOWS_BUILD_DIR");
    if (before) saved_ = before;
    setenv("INSTALLER_WINDOWS_BUILD_DIR", folder.c_str(), 1);
  }
  ~WindowsBuildDirForTest() {
    if (saved_) {
      setenv("INSTALLER_WINDOWS_BUILD_DIR", saved_->c_str(), 1);
    } else {
      unsetenv("INSTALLER_WINDOWS_BUILD_DIR");
    }
  }

 private:
  std::optional<std::string> saved_;
};

TEST(WinePaths, AnotherWindowsBuildRunsInFoldersOfItsOwn) {
  fs::path standard;
  {
    WindowsBuildDirForTest build("");  // empty: the build the tests were configured with
    standard = WindowsBuildDir();
    EXPECT_EQ(RunFolder("wine"), NativeBuildDir() / "wine");
  }
  {
    WindowsBuildDirForTest build((standard / ".").string());  // the same build, written another way
    EXPECT_EQ(RunFolder("wine"), NativeBuildDir() / "wine");
  }
  {
    WindowsBuildDirForTest build((standard.parent_path() / "win32/").string());
    EXPECT_EQ(RunFolder("wine"), NativeBuildDir() / "wine-win32");
    EXPECT_EQ(RunFolder("e2e-work"), NativeBuildDir() / "e2e-work-win32");
  }
}

TEST(WinePaths, MissingWindowsProgramSaysWhatToBuild) {
  try {
    WindowsProgram("NoSuchProgram.exe");
    FAIL() << "expected an error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("cmake --preset win64"), std::string::npos)
        << error.what();
  }
}

TEST(WinePaths, MissingWindowsBuildIsNamedWithTheCommandThatBuildsIt) {
  const fs::path folder = NativeBuildDir() / "e2e-work" / "WinePaths" / "windows-build";
  fs::remove_all(folder);
  fs::create_directories(folder / "tests");
  std::ofstream(folder / "tests" / "probe.exe") << "MZ";
  std::vector<std::string> missing;
  std::string message;
  {
    WindowsBuildDirForTest build(folder.string());
    missing = MissingWindowsPrograms({"Installer.exe", "probe.exe", "driver.exe"});
    message = MissingWindowsBuildMessage(missing);
  }

  EXPECT_EQ(missing, (std::vector<std::string>{"Installer.exe", "driver.exe"}));
  EXPECT_NE(message.find(folder.string() + " lacks Installer.exe, driver.exe"), std::string::npos)
      << message;
  EXPECT_NE(message.find("cmake --preset win64 && cmake --build --preset win64"), std::string::npos)
      << message;
}

}  // namespace
}  // namespace e2e
