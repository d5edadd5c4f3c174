// release-check.exe --new under Wine on a folder of packages made by Debian's tools: a wixl MSI,
// two .msu cabinets (one named as Windows names them, one renamed so that only its properties
// tell its KB number) and the probe program with its version resource. The release passes the
// check; made without the cabinets, which Wine does not install, Installer.exe /silent installs
// the MSI and runs the program, and a second run finds the MSI installed by its Detect rule.
#include <fstream>
#include <iterator>

#include "../unit/package_files.h"
#include "harness/probe_journal.h"
#include "harness/test_msi.h"
#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class NewRelease : public UnattendedTest {
 protected:
  // release-check.exe --new with the Installer.exe of the Windows build.
  RunResult New(const fs::path& packages, const fs::path& release) {
    RunOptions capture;
    capture.capture_output = true;
    capture.timeout = seconds(120);
    return wine().Run(WindowsProgram("release-check.exe").string(),
                      {"--new", "--name", "Testpaket", "--installer",
                       ToWindowsPath(WindowsProgram("Installer.exe")), ToWindowsPath(packages),
                       ToWindowsPath(release)},
                      capture);
  }
  int RunSilently(const fs::path& exe) {
    WineProgram installer = wine().Start(exe.string(), {"/silent", "/norestart"});
    const BoxWatch watch = WatchForBoxes(installer, "", seconds(120));
    EXPECT_EQ(watch.box, "") << "a silent run showed a message";
    EXPECT_TRUE(watch.reached) << "the run did not end by itself within 120 s";
    return installer.Wait(seconds(5)).exit_code;
  }
};

TEST_F(NewRelease, FromMsiCabinetsAndProgramPassesTheCheckAndInstallsSilently) {
  const package_test::MadeFiles& made = package_test::Made();
  RetryOnLostStart({"Messprogramm.exe"}, {"Messprogramm.exe"}, [&](const fs::path& folder) {
    const fs::path packages = folder / "Pakete";
    fs::create_directories(packages / "Updates");
    TestMsi msi(wine(), packages / "Werkzeug.msi");
    fs::copy_file(probe(), packages / "Messprogramm.exe");
    const fs::path all = folder / "Alle";
    fs::copy(packages, all, fs::copy_options::recursive);
    fs::copy_file(made.msu_stored, all / "Updates" / made.msu_stored.filename());
    fs::copy_file(made.msu_renamed_ssu, all / "Updates" / "Stapel.msu");

    // Every package read: the KB numbers, the product code, the program's name.
    RunResult made_all = New(all, folder / "Release");
    EXPECT_EQ(made_all.exit_code, 0) << made_all.output;
    for (const std::string& line : std::vector<std::string>{
             "[File1] Updates\\Stapel.msu: KB5031539, x64, servicing stack, from its properties",
             "] Updates\\windows10.0-kb5034441-x64_0123456789abcdef.msu: KB5034441, x64, from its "
             "properties",
             "] Werkzeug.msi: Installer Testpaket 1.0.0, " + msi.product_code(),
             "] Messprogramm.exe: 64-bit program of unknown kind, Testprogramm der "
             "Installationstests "
             "1.2.3.4; not told: its kind can't be told: Parameters stays empty and the package "
             "may "
             "show windows of its own",
             "Parameters: warning: the program starts without parameters",
             // the two cabinets and the installer carry no signature
             "0 errors, 6 warnings"}) {
      EXPECT_TRUE(Has(made_all.output, line)) << line << "\nnot in\n" << made_all.output;
    }
    RunOptions capture;
    capture.capture_output = true;
    const RunResult checked =
        wine().RunNative({E2E_RELEASE_CHECK, (folder / "Release").string()}, capture);
    EXPECT_EQ(checked.exit_code, 0) << checked.output;

    // Without the cabinets: installed, and the MSI found installed on the second run.
    const RunResult made_two = New(packages, folder / "Ohne");
    ASSERT_EQ(made_two.exit_code, 0) << made_two.output;
    const fs::path data = folder / "Ohne" / "Data";
    ProbeSettings journal;
    journal.journal = ToWindowsPath(JournalOf(folder));
    WriteProbeSettings(data / "Messprogramm.exe", journal);
    ForgetInstallLog();
    EXPECT_EQ(RunSilently(folder / "Ohne" / "Installer.exe"), 0);
    EXPECT_TRUE(fs::exists(msi.InstalledFile())) << "the MSI package was not installed";
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
              std::vector<std::string>{"Messprogramm.exe"});
    ForgetInstallLog();
    EXPECT_EQ(RunSilently(folder / "Ohne" / "Installer.exe"), 0);
    const std::string package = "Paket 2 (Installer Testpaket 1.0.0)";
    EXPECT_EQ(TextsStartingWith(InstallLogRecords(), package + ": bereits installiert laut "),
              (std::vector<std::string>{package + ": bereits installiert laut Detect=msi:" +
                                            msi.product_code() + " (Windows Installer)",
                                        package + ": bereits installiert laut Detect=msi:" +
                                            msi.product_code() + ", nicht gestartet"}));
  });
}

}  // namespace
}  // namespace e2e
