// Packages that the system has already, told by their Detect= rules under Wine: an update
// recorded in the prefix's component store, an MSI product that Windows Installer knows, a
// release the system has whole, which restarts nothing, and the advanced page that shows such
// a package unchecked and marked.
#include <chrono>
#include <string>
#include <vector>

#include "harness/test_msi.h"
#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

constexpr char kStore[] =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";
// An update that no other test and no Wine prefix knows.
constexpr char kRecordedUpdate[] = "KB9900001";
constexpr char kStorePackage[] = "Package_for_KB9900001~31bf3856ad364e35~amd64~~6.1.1.0";

// A package key of the prefix's component store with its CurrentState, for the lifetime of
// the object; the store's key goes with it when the object made it.
class RecordedUpdate {
 public:
  explicit RecordedUpdate(WineSession& wine)
      : wine_(wine), store_existed_(wine.Run("reg", {"query", kStore}).exit_code == 0) {
    const RunResult added = wine_.Run(
        "reg", {"add", Key(), "/v", "CurrentState", "/t", "REG_DWORD", "/d", "112", "/f"});
    if (added.exit_code != 0) throw std::runtime_error("reg add " + Key() + " failed");
  }
  ~RecordedUpdate() { wine_.Run("reg", {"delete", store_existed_ ? Key() : kStore, "/f"}); }
  RecordedUpdate(const RecordedUpdate&) = delete;
  RecordedUpdate& operator=(const RecordedUpdate&) = delete;

  static std::string Key() { return std::string(kStore) + "\\" + kStorePackage; }

 private:
  WineSession& wine_;
  bool store_existed_;
};

class Detection : public UnattendedTest {
 protected:
  // Runs the release silently to its end; the program's exit code.
  int RunSilently(const fs::path& exe) {
    WineProgram installer = wine().Start(exe.string(), {"/silent", "/norestart"});
    const BoxWatch watch = WatchForBoxes(installer, "", seconds(120));
    EXPECT_EQ(watch.box, "") << "a silent run showed a message";
    EXPECT_TRUE(watch.reached) << "the run did not end by itself within 120 s";
    const RunResult end = installer.Wait(seconds(5));
    EXPECT_FALSE(end.timed_out);
    return end.exit_code;
  }
  // The texts of the log's records that start with `start`.
  std::vector<std::string> LogTexts(const std::string& start) {
    return TextsStartingWith(InstallLogRecords(), start);
  }
  static std::string PackageInLog(int number, const TestPackage& package) {
    return "Paket " + std::to_string(number) + " (" + package.Name() + ")";
  }
};

TEST_F(Detection, UpdateRecordedInTheComponentStoreIsNotStartedAndCountedAsInstalled) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}};
  release.packages[0].detect = kRecordedUpdate;
  release.packages[1].detect = "KB9900002";  // recorded nowhere
  RecordedUpdate recorded(wine());
  RetryOnLostStart(release.ProbeNames(), {"KB2.exe", "KB3.exe"}, [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    ForgetInstallLog();
    EXPECT_EQ(RunSilently(exe), 0);
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
              (std::vector<std::string>{"KB2.exe", "KB3.exe"}));
    const std::string first = PackageInLog(1, release.packages[0]);
    EXPECT_EQ(LogTexts("Erkennungsregeln"),
              std::vector<std::string>{"Erkennungsregeln von 2 Paketen geprüft: 1 bereits "
                                       "installiert"})
        << ReadFile(InstallLog());
    EXPECT_EQ(LogTexts(first),
              (std::vector<std::string>{
                  first + ": bereits installiert laut Detect=KB9900001 (Komponentenspeicher: " +
                      kStorePackage + ")",
                  first + ": bereits installiert laut Detect=KB9900001, nicht gestartet"}))
        << ReadFile(InstallLog());
    EXPECT_EQ(LogTexts("Ende mit Exitcode"),
              std::vector<std::string>{"Ende mit Exitcode 0 (0x00000000)"});
  });
}

// A release pushed again to a machine that has all of it: "/silent", with its automatic
// restart, installs nothing, ends with 0 at once, and asks Windows for no restart, although a
// package demands one after it.
TEST_F(Detection, SilentRunOfAReleaseTheSystemHasWholeEndsWithZeroAndRestartsNothing) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}};
  release.packages[0].detect = kRecordedUpdate;
  release.packages[0].restart = true;
  release.packages[1].detect = "file:%SystemRoot%\\System32\\kernel32.dll";
  RecordedUpdate recorded(wine());
  RetryOnLostStart({}, {}, [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    ForgetInstallLog();
    WineProgram sentinel = StartSentinel();
    WineProgram installer = wine().Start(exe.string(), {"/silent"});
    const BoxWatch watch = WatchForBoxes(installer, "", seconds(120));
    EXPECT_EQ(watch.box, "") << "a silent run showed a message";
    EXPECT_TRUE(watch.reached) << "the run did not end by itself within 120 s";
    const RunResult end = installer.Wait(seconds(5));
    EXPECT_FALSE(end.timed_out);
    EXPECT_EQ(end.exit_code, 0);
    EXPECT_FALSE(SessionEnded(sentinel, seconds(3))) << "a restart was requested";
    sentinel.Kill();
    EXPECT_TRUE(ReadProbeJournal(JournalOf(folder)).empty());
    EXPECT_EQ(LogTexts("Erkennungsregeln"),
              std::vector<std::string>{"Erkennungsregeln von 2 Paketen geprüft: 2 bereits "
                                       "installiert"})
        << ReadFile(InstallLog());
    EXPECT_EQ(LogTexts("Neustart"), std::vector<std::string>{}) << ReadFile(InstallLog());
    EXPECT_EQ(LogTexts("Ende mit Exitcode"),
              std::vector<std::string>{"Ende mit Exitcode 0 (0x00000000)"})
        << ReadFile(InstallLog());
  });
}

TEST_F(Detection, TestMsiInstalledOnceIsSkippedOnTheSecondRunByItsRule) {
  InstallRelease release;
  release.packages = {{"Testpaket.msi", "/qn"}};
  RetryOnLostStart({}, {}, [&](const fs::path& folder) {
    TestMsi msi(wine(), folder / "Testpaket.msi");
    release.packages[0].source = msi.path();
    release.packages[0].detect = "msi:" + msi.product_code();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    const std::string package = PackageInLog(1, release.packages[0]);

    ForgetInstallLog();
    EXPECT_EQ(RunSilently(exe), 0);
    EXPECT_EQ(LogTexts(package + ": "),
              std::vector<std::string>{package + ": installiert, Exitcode 0 (0x00000000)"})
        << ReadFile(InstallLog());
    ASSERT_TRUE(fs::exists(msi.InstalledFile())) << "the MSI package was not installed";

    ForgetInstallLog();
    EXPECT_EQ(RunSilently(exe), 0);
    const std::string rule = "Detect=msi:" + msi.product_code();
    EXPECT_EQ(LogTexts(package),
              (std::vector<std::string>{
                  package + ": bereits installiert laut " + rule + " (Windows Installer)",
                  package + ": bereits installiert laut " + rule + ", nicht gestartet"}))
        << ReadFile(InstallLog());
  });
}

TEST_F(Detection, AdvancedPageShowsTheRecordedUpdateUncheckedAndMarked) {
  InstallRelease release;
  release.texts.allow_advanced = true;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}};
  release.packages[0].detect = kRecordedUpdate;
  RecordedUpdate recorded(wine());
  RetryOnLostStart(release.ProbeNames(), {"KB2.exe"}, [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    WineProgram installer = wine().Start(exe.string(), {});
    DriverRun page = Drive(
        {WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BWeiter"),
         WaitFor("TFMethode", 10000), Click("TFMethode", "CBAdvancedInstall"),
         Click("TFMethode", "BWeiter"), WaitFor("TFErweitert", 10000),
         RowCheckedOf("TFErweitert", "LVDateien", 0), RowTextOf("TFErweitert", "LVDateien", 0),
         RowCheckedOf("TFErweitert", "LVDateien", 1), RowTextOf("TFErweitert", "LVDateien", 1),
         TextOf("TFErweitert", "LSelectedItems")});
    wine().Screenshot("Detection-advanced-page");
    ASSERT_TRUE(page.ok()) << page.Report();
    EXPECT_EQ(page.Value(RowCheckedOf("TFErweitert", "LVDateien", 0)), "0");
    EXPECT_EQ(page.Value(RowTextOf("TFErweitert", "LVDateien", 0)),
              release.packages[0].Name() + " (bereits installiert)");
    EXPECT_EQ(page.Value(RowCheckedOf("TFErweitert", "LVDateien", 1)), "1");
    EXPECT_EQ(page.Value(RowTextOf("TFErweitert", "LVDateien", 1)), release.packages[1].Name());
    EXPECT_EQ(page.Value(TextOf("TFErweitert", "LSelectedItems")),
              Word(release::kWordSelectedPackages) + ": 1 " + Word(release::kWordOf) + " 2");

    DriverRun run =
        Drive({Click("TFErweitert", "BWeiter"), WaitFor("TFStart", 10000),
               Click("TFStart", "BWeiter"), WaitFor("TFEnde", 60000), TextOf("TFEnde", "LText")});
    ASSERT_TRUE(run.ok()) << run.Report();
    EXPECT_NE(run.Value(TextOf("TFEnde", "LText")).find("1 bereits installiert"), std::string::npos)
        << run.Value(TextOf("TFEnde", "LText"));
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), std::vector<std::string>{"KB2.exe"});
    installer.Kill();
  });
}

}  // namespace
}  // namespace e2e
