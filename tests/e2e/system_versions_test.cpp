// The program told by Wine that it runs on Windows 8, 8.1, 10 or later: a .msu package is started
// through the system's wusa.exe, and a restart hands over through the machine's run-once key,
// as on Vista and 7. The probe stands in for wusa.exe in the prefix's system folder.
#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

const char kSystemWusa[] = "C:\\windows\\system32\\wusa.exe";

// The system's wusa.exe as the installer names it: a 32-bit installer reaches the 64-bit system
// folder through Sysnative, past the file system redirector.
std::string WusaAsNamed() {
  return IsI386Program(WindowsProgram("Installer.exe")) ? "C:\\windows\\Sysnative\\wusa.exe"
                                                        : kSystemWusa;
}

// The probe in place of Wine's wusa.exe for the lifetime of the object; Wine's file is kept
// beside the prefix meanwhile (a run that was killed before it put it back does so first).
// The 64-bit probe, as the system folder of 64-bit Windows holds a 64-bit wusa.exe, also when
// the installer under test is 32-bit.
class PlantedWusa {
 public:
  explicit PlantedWusa(WineSession& wine)
      : wusa_(wine.ToLinuxPath(kSystemWusa)), kept_(wine.prefix() / "wusa.exe.e2e-kept") {
    if (fs::exists(kept_)) fs::rename(kept_, wusa_);
    fs::rename(wusa_, kept_);
    PlaceProbe(Windows64Program("probe.exe"), wusa_.parent_path(), wusa_.filename().string());
  }
  ~PlantedWusa() {
    std::error_code ignored;
    fs::remove(wusa_, ignored);
    fs::remove(fs::path(wusa_).replace_extension(".probe"), ignored);
    fs::rename(kept_, wusa_, ignored);
    if (ignored) ADD_FAILURE() << "Wine's wusa.exe was not put back from " << kept_;
  }
  PlantedWusa(const PlantedWusa&) = delete;
  PlantedWusa& operator=(const PlantedWusa&) = delete;

  void RecordIn(const fs::path& journal) {
    ProbeSettings settings;
    settings.journal = ToWindowsPath(journal);
    WriteProbeSettings(wusa_, settings);
  }

 private:
  fs::path wusa_;
  fs::path kept_;
};

class SystemVersions : public UnattendedTest {
 protected:
  // The installer with Wine's built-in wusa.exe turned off, so that the file in the system
  // folder, the probe, is what runs.
  WineProgram StartWithNativeWusa(const fs::path& exe) {
    RunOptions options;
    options.env["WINEDLLOVERRIDES"] = wine().Environment().at("WINEDLLOVERRIDES") + ";wusa.exe=n";
    return wine().Start(exe.string(), {}, options);
  }

  // A .msu package that demands a restart, and a probe after it.
  InstallRelease MsuRelease() {
    const fs::path msu_file = work_dir() / "Windows-KB3.msu";
    std::ofstream(msu_file, std::ios::binary) << "MSCF stand-in of an update package";
    InstallRelease release;
    release.packages = {{"Updates\\Windows-KB3.msu", "/quiet /norestart"}, {"KB2.exe", "/q"}};
    release.packages[0].restart = true;
    release.packages[0].source = msu_file;
    return release;
  }

  // The .msu release made in `folder` and walked to the restart prompt: the package ran
  // through the system's wusa.exe, and the run-once value went where an elevated program
  // finds it (Wine runs every program elevated).
  void ExpectMsuThroughWusaAndMachineRunOnce(PlantedWusa& wusa, const InstallRelease& release,
                                             const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    wusa.RecordIn(JournalOf(folder));
    ForgetUserRunOnce();
    WineProgram installer = StartWithNativeWusa(exe);

    const DriverRun prompt = Drive({WaitFor("TFWillkommen", 30000),
                                    Click("TFWillkommen", "BWeiter"), WaitFor("TForm1", 60000)});
    ASSERT_TRUE(prompt.ok()) << "no restart prompt after the .msu package: " << prompt.Report();
    const std::vector<ProbeRun> runs = ReadProbeJournal(JournalOf(folder));
    ASSERT_EQ(FileNames(runs), std::vector<std::string>{"wusa.exe"});
    const fs::path data = exe.parent_path() / "Data";
    // The package's own log goes beside the install log.
    EXPECT_EQ(
        runs[0].command_line,
        "\"" + WusaAsNamed() + "\" \"" + ToWindowsPath(data / "Updates" / "Windows-KB3.msu") +
            "\" /quiet /norestart /log:\"C:\\ProgramData\\UpdatePackages\\Windows-KB3.msu.evtx\"");
    EXPECT_EQ(runs[0].working_dir, ToWindowsPath(data / "Updates"));
    EXPECT_EQ(runs[0].show_window, "0");
    EXPECT_EQ(RunOnceValue(), RunOnceCommand(exe));
    EXPECT_EQ(UserRunOnceValue(), std::nullopt);
    installer.Kill();
    ForgetUserRunOnce();
  }
};

const std::vector<std::string> kMsuTable = {"wusa.exe", "KB2.exe"};

TEST_F(SystemVersions, MsuRunsThroughTheSystemsWusaAndARestartHandsOverThroughTheMachine) {
  PlantedWusa wusa(wine());
  const InstallRelease release = MsuRelease();

  for (const char* version : {"win8", "win81", "win10"}) {
    SCOPED_TRACE(version);
    RetryOnLostStart(kMsuTable, {"wusa.exe"}, [&](const fs::path& attempt) {
      InstallerWindowsVersion system(wine(), version);
      ExpectMsuThroughWusaAndMachineRunOnce(wusa, release, attempt / version);
    });
  }
}

// A system after Windows 10, as Wine reports it from the registry to a program without a
// version setting of its own. Wine's GetVersionExW still says 10.0 to a program whose manifest
// lists Windows 10; RtlGetVersion says 10.1, and so does the log.
TEST_F(SystemVersions, ASystemAfterWindows10TakesItsRulesAndIsLoggedByItsVersion) {
  PlantedWusa wusa(wine());
  const InstallRelease release = MsuRelease();

  ReportedSystemVersion system(wine(), "10.1");
  RetryOnLostStart(kMsuTable, {"wusa.exe"}, [&](const fs::path& attempt) {
    ForgetInstallLog();
    ExpectMsuThroughWusaAndMachineRunOnce(wusa, release, attempt);
    const std::vector<std::string> records = InstallLogRecords();
    EXPECT_EQ(Occurrences(records, ", Microsoft Windows 10.1 (Index 12)"), 1)
        << ::testing::PrintToString(records);
  });
}

// The counter-check that the version setting reaches the program: on XP there is no wusa.exe,
// so the .msu package is not started, demands no restart, and the next one runs.
TEST_F(SystemVersions, OnXpTheMsuIsNotStartedAndTheNextPackageRuns) {
  PlantedWusa wusa(wine());
  const InstallRelease release = MsuRelease();
  RetryOnLostStart({"KB2.exe"}, {"KB2.exe"}, [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    wusa.RecordIn(JournalOf(folder));
    ForgetUserRunOnce();
    InstallerWindowsVersion system(wine(), "winxp");
    WineProgram installer = StartWithNativeWusa(exe);

    const DriverRun started =
        Drive({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BWeiter")});
    ASSERT_TRUE(started.ok()) << started.Report();
    CloseFinishPageWithoutRestart();
    const RunResult end = installer.Wait(seconds(10));
    EXPECT_FALSE(end.timed_out);
    EXPECT_EQ(end.exit_code, 1603 & 0xFF);  // a package was not started; Unix keeps the low byte
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), std::vector<std::string>{"KB2.exe"});
    EXPECT_EQ(RunOnceValue(), std::nullopt);
    EXPECT_EQ(UserRunOnceValue(), std::nullopt);
  });
}

}  // namespace
}  // namespace e2e
