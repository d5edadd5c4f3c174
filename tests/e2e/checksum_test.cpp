// A package whose file is not the one its Sha256= names is not started: the finish page and
// the install log name it as damaged, the packages around it run, and the run ends with 1603.
#include <chrono>
#include <string>
#include <vector>

#include "harness/test_msi.h"
#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

const char kDamaged[] = "Die Datei ist beschädigt oder wurde verändert";
const char kNotStarted[] = "nicht gestartet";

class Checksum : public UnattendedTest {
 protected:
  // The SHA-256 of a file as the system's sha256sum prints it.
  std::string SystemSha256(const fs::path& file) {
    RunOptions options;
    options.capture_output = true;
    const RunResult result = wine().RunNative({"sha256sum", "-b", file.string()}, options);
    EXPECT_EQ(result.exit_code, 0) << result.output;
    return result.output.substr(0, 64);
  }
};

TEST_F(Checksum, DamagedPackageIsNotStartedAndTheRunEndsWith1603) {
  const std::string intact = SystemSha256(probe());
  std::string other = intact;
  other[10] = other[10] == '0' ? '1' : '0';  // one digit off: another file's checksum
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}};
  release.packages[0].sha256 = intact;
  release.packages[1].sha256 = other;
  const std::vector<std::string> ran = {"KB1.exe", "KB3.exe"};
  RetryOnLostStart(release.ProbeNames(), ran, [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    WineProgram installer = wine().Start(exe.string(), {"/silent"});
    const DriverRun finish = Drive({WaitFor("TFEnde", 60000), TextOf("TFEnde", "LText")});
    wine().Screenshot("Checksum-damaged-package");
    ASSERT_TRUE(finish.ok()) << finish.Report();
    EndFinishedSilentRunWithoutRestart();
    const RunResult end = installer.Wait(seconds(10));
    EXPECT_FALSE(end.timed_out);
    EXPECT_EQ(end.exit_code, 1603 & 0xFF);
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), ran);

    const std::string listed =
        "\r- " + release.packages[1].Name() + " (" + kNotStarted + ": " + kDamaged + ")\r";
    EXPECT_NE(finish.Value(TextOf("TFEnde", "LText")).find(listed), std::string::npos)
        << finish.Value(TextOf("TFEnde", "LText"));
    EXPECT_EQ(finish.Value(TextOf("TFEnde", "LText")).find(release.packages[0].Name()),
              std::string::npos);

    const std::vector<std::string> log = InstallLogRecords();
    const std::string name = release.packages[1].Name();
    EXPECT_EQ(Occurrences(log, "Paket 2 (" + name + "): " + kNotStarted + ": " + kDamaged +
                                   " (SHA-256 der Datei: " + intact +
                                   ", in Settings.ini: " + other + ")"),
              1)
        << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, "Paket 1 (" + release.packages[0].Name() +
                                   "): installiert, Exitcode 0 (0x00000000)"),
              1)
        << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, "Ende mit Exitcode 1603 (0x00000643)"), 1) << ReadFile(InstallLog());
  });
}

// From its checksum to its end a package's file is held: another process (the probe itself)
// can neither write nor delete it; msiexec still reads a held MSI. Without a checksum nothing
// holds the file, which shows that the probe's attempt can succeed at all.
TEST_F(Checksum, APackageFileIsHeldFromItsChecksumToItsEnd) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"Testpaket.msi", "/qn"}};
  release.packages[0].sha256 = SystemSha256(probe());
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetInstallLog();
    TestMsi msi(wine(), folder / "Testpaket.msi");
    fs::remove(msi.InstalledFile());
    release.packages[2].source = msi.path();
    release.packages[2].sha256 = SystemSha256(msi.path());
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    for (const std::string& name : release.ProbeNames()) {
      ProbeSettings settings;
      settings.journal = ToWindowsPath(JournalOf(folder));
      settings.change_self = true;
      WriteProbeSettings(exe.parent_path() / "Data" / name, settings);
    }
    WineProgram installer = wine().Start(exe.string(), {"/silent", "/norestart"});
    const RunResult end = installer.Wait(seconds(120));
    ASSERT_FALSE(end.timed_out);
    EXPECT_EQ(end.exit_code, 1603 & 0xFF);  // the second, held by nobody, was changed
    const std::vector<std::string> log = InstallLogRecords();
    EXPECT_EQ(Occurrences(log, "Paket 1 (" + release.packages[0].Name() +
                                   "): installiert, Exitcode 0 (0x00000000)"),
              1)
        << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, "Paket 2 (" + release.packages[1].Name() +
                                   "): fehlgeschlagen, Exitcode 9905 (0x000026B1)"),
              1)
        << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, "Paket 3 (" + release.packages[2].Name() +
                                   "): installiert, Exitcode 0 (0x00000000)"),
              1)
        << ReadFile(InstallLog());
    EXPECT_TRUE(fs::exists(msi.InstalledFile()));
  });
}

}  // namespace
}  // namespace e2e
