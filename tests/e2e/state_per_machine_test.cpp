// A release on a share that many machines start: each keeps the state of its run on itself,
// in a folder that only the administrators may change, and its continuation starts a local
// copy that waits for the share at the logon. Wine reports a drive as a network drive when its
// mount manager is told so, as winecfg does; the drive's link in the prefix's dosdevices plays
// the share going away and coming back.
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "harness/other_machine.h"
#include "harness/test_msi.h"
#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

constexpr int kRestartNeeded = 3010 % 256;                             // Unix keeps the low 8 bits
const std::vector<bool> kSilentOptions = {true, false, false, false};  // a silent run restarts

// Drive N: of a machine: a folder of this Linux machine that Wine reports as a network drive.
class NetworkDrive {
 public:
  NetworkDrive(WineSession& wine, const fs::path& prefix,
               const std::map<std::string, std::string>& env, const fs::path& folder)
      : wine_(wine), env_(env), link_(prefix / "dosdevices" / "n:"), folder_(folder) {
    const DriverRun defined =
        Drive(wine_, {"definedrive n " + folder.string() + " network", "drivetype N:\\"},
              std::chrono::minutes(1), env_);
    if (!defined.ok()) throw std::runtime_error("no drive N: " + defined.Report());
    kind_ = defined.Value("drivetype N:\\");
  }
  ~NetworkDrive() { Drive(wine_, {"definedrive n - none"}, std::chrono::minutes(1), env_); }
  NetworkDrive(const NetworkDrive&) = delete;
  NetworkDrive& operator=(const NetworkDrive&) = delete;

  // GetDriveTypeW of N:\ once it was made: 4 is DRIVE_REMOTE.
  const std::string& kind() const { return kind_; }
  void TakeAway() { fs::remove(link_); }
  void BringBack() { fs::create_directory_symlink(folder_, link_); }

 private:
  WineSession& wine_;
  std::map<std::string, std::string> env_;
  fs::path link_;
  fs::path folder_;
  std::string kind_;
};

// The files below a folder, relative to it.
std::set<std::string> FilesBelow(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    files.insert(fs::relative(entry.path(), folder).string());
  return files;
}

int Count(const std::string& text, const std::string& part) {
  int found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++found;
  return found;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

// Four packages, the second demanding a restart, on the share N:\Pack; each machine's probes
// write the journal on its own drive C:.
struct ShareRelease {
  static constexpr const char* kJournal = "C:\\e2e-journal.txt";
  static constexpr const char* kProgram = "N:\\Pack\\Installer.exe";

  explicit ShareRelease(const fs::path& share) : folder(share / "Pack") {
    // ASCII (see the read-only folder's test) and no blank: the driver's words are split at
    // blanks.
    release.texts.name = "Netzrelease";
    // Each probe with its side file in a folder of its own: the package cache copies the
    // folder of a package that lies alone in it.
    release.packages = {{"KB1\\KB1.exe", "/q"},
                        {"KB2\\KB2.exe", "/q"},
                        {"KB3\\KB3.exe", "/q"},
                        {"KB4\\KB4.exe", "/q"}};
    release.packages[1].restart = true;
    MakeInstallRelease(folder, release, WindowsProgram("probe.exe"), share / "unused.txt");
    for (const TestPackage& package : release.packages) {
      ProbeSettings settings;
      settings.journal = kJournal;
      WriteProbeSettings(DataFileOf(folder, package), settings);
    }
    files = FilesBelow(folder);
  }

  std::string StateFolder(const std::string& fresh = "") const {
    return "C:\\ProgramData\\UpdatePackages\\" + release.texts.name + fresh + "\\";
  }
  // The local starter's run-once command.
  std::string StarterCommand(const std::string& fresh = "") const {
    return "\"" + StateFolder(fresh) +
           "Installer.exe\" /norestart \"/log:C:\\ProgramData\\UpdatePackages\\Installer.log\" "
           "/release:\"N:\\Pack\" \"/continuation:" +
           StateFolder(fresh) + "rir_eridivu\"";
  }

  InstallRelease release;
  fs::path folder;
  std::set<std::string> files;  // as made: the runs add nothing
};

// One machine that starts the release: the harness's own or another one.
struct Machine {
  std::string name;
  std::map<std::string, std::string> env;
  std::function<fs::path(const std::string&)> linux_path;

  fs::path Journal() const { return linux_path(ShareRelease::kJournal); }
  fs::path Log() const { return linux_path("C:\\ProgramData\\UpdatePackages\\Installer.log"); }
};

class StatePerMachine : public UnattendedTest {
 protected:
  Machine HarnessMachine() {
    const std::optional<std::string> name = RegistryValue(kComputerNameKey, "ComputerName");
    if (!name) throw std::runtime_error("the harness's prefix names no computer");
    return {*name, {}, [this](const std::string& path) { return wine().ToLinuxPath(path); }};
  }
  static Machine MachineOf(const OtherMachine& other) {
    return {other.computer_name(), other.env(),
            [&other](const std::string& path) { return other.ToLinuxPath(path); }};
  }

  // Nothing of an earlier run: journal, log, state folder, run-once value; and no wineboot
  // left that would run the value that the run writes.
  void Forget(const Machine& machine, const ShareRelease& share) {
    if (!wine().WaitForWineboot(std::chrono::minutes(2)))
      throw std::runtime_error("wineboot does not end");
    fs::remove(machine.Journal());
    fs::remove(machine.Log());
    fs::remove_all(machine.linux_path(share.StateFolder()));
    wine().Run("reg", {"delete", kMachineRunOnce, "/v", kRunOnce, "/f"}, Options(machine));
  }
  std::optional<std::string> RunOnceOf(const Machine& machine) {
    return QueryRegistryValue(wine(), kMachineRunOnce, kRunOnce, "REG_SZ", machine.env);
  }
  WineProgram StartOn(const Machine& machine, const std::string& program,
                      const std::vector<std::string>& args) {
    return wine().Start(program, args, Options(machine));
  }
  static RunOptions Options(const Machine& machine) {
    RunOptions options;
    options.env = machine.env;
    return options;
  }
  // The logon: Windows deletes the value and runs its command.
  WineProgram LogOn(const Machine& machine) {
    const std::optional<std::string> command = RunOnceOf(machine);
    if (!command) throw std::runtime_error(machine.name + " has no run-once value");
    wine().Run("reg", {"delete", kMachineRunOnce, "/v", kRunOnce, "/f"}, Options(machine));
    return StartRunOnce(*command, machine.env);
  }
  // The continued run on the share ends by itself ("/norestart"): its state goes, the log says
  // how it ended.
  bool WaitForTheEnd(const Machine& machine, const ShareRelease& share, int ends,
                     const std::string& fresh = "") {
    const fs::path state = machine.linux_path(share.StateFolder(fresh));
    return WaitUntil(
        [&] {
          return !fs::exists(state / "rir_eridivu") &&
                 Count(ReadFile(machine.Log()), "Ende mit Exitcode") == ends;
        },
        seconds(120));
  }

  // The hand-over of one machine: packages 1 and 2 ran, the rest waits in the machine's state
  // folder for the local starter.
  void ExpectHandedOver(const Machine& machine, const ShareRelease& share,
                        const std::optional<std::string>& run_once) {
    SCOPED_TRACE(machine.name);
    const fs::path state = machine.linux_path(share.StateFolder());
    EXPECT_EQ(FileNames(ReadProbeJournal(machine.Journal())),
              (std::vector<std::string>{"KB1.exe", "KB2.exe"}));
    EXPECT_EQ(ReadFile(state / "rir_eridivu"), ContinuationFile(4, kSilentOptions, {2, 3}));
    EXPECT_EQ(ReadFile(state / "rir_eridivu.computer"), machine.name);
    EXPECT_EQ(ReadFile(state / "Installer.exe"), ReadFile(share.folder / "Installer.exe"));
    EXPECT_TRUE(fs::exists(state / "Language.ini"));
    EXPECT_EQ(run_once, share.StarterCommand());
  }

  void ExpectFinished(const Machine& machine, const ShareRelease& share,
                      const std::string& fresh = "") {
    SCOPED_TRACE(machine.name);
    const std::vector<ProbeRun> runs = ReadProbeJournal(machine.Journal());
    EXPECT_EQ(FileNames(runs), share.release.ProbeNames());
    const fs::path state = machine.linux_path(share.StateFolder(fresh));
    for (const char* name :
         {"rir_eridivu", "rir_eridivu.computer", "Installer.exe", "Language.ini"})
      EXPECT_FALSE(fs::exists(state / name)) << name;
  }

  static constexpr const char* kComputerNameKey =
      "HKLM\\System\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName";
};

TEST_F(StatePerMachine, TwoMachinesRunOneReleaseFromTheShareEachToItsEnd) {
  const ShareRelease share(work_dir() / "share");
  OtherMachine other(wine(), "MASCHINE-B");
  const std::vector<Machine> machines = {HarnessMachine(), MachineOf(other)};
  ASSERT_NE(machines[0].name, machines[1].name);
  NetworkDrive drive_a(wine(), wine().prefix(), {}, work_dir() / "share");
  NetworkDrive drive_b(wine(), other.prefix(), other.env(), work_dir() / "share");
  ASSERT_EQ(drive_a.kind(), "4");
  ASSERT_EQ(drive_b.kind(), "4");
  for (const Machine& machine : machines) Forget(machine, share);

  // Both start at the same time and hand over after package 2.
  std::vector<WineProgram> runs;
  for (const Machine& machine : machines)
    runs.push_back(StartOn(machine, ShareRelease::kProgram, {"/silent", "/norestart"}));
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const RunResult end = runs[i].Wait(seconds(120));
    ASSERT_FALSE(end.timed_out) << machines[i].name;
    EXPECT_EQ(end.exit_code, kRestartNeeded) << machines[i].name;
  }
  for (const Machine& machine : machines) ExpectHandedOver(machine, share, RunOnceOf(machine));
  EXPECT_EQ(FilesBelow(share.folder), share.files) << "state was left on the share";

  // Both log on at the same time; each local starter starts the program on the share.
  std::vector<WineProgram> logons;
  for (const Machine& machine : machines) logons.push_back(LogOn(machine));
  for (const Machine& machine : machines)
    EXPECT_TRUE(WaitForTheEnd(machine, share, 3)) << machine.name << ":\n"
                                                  << ReadFile(machine.Log());
  for (const Machine& machine : machines) {
    ExpectFinished(machine, share);
    EXPECT_EQ(RunOnceOf(machine), std::nullopt) << machine.name;
    EXPECT_EQ(Occurrences(LogRecords(machine.Log()), "Ende mit Exitcode 0"), 2)
        << ReadFile(machine.Log());
  }
  EXPECT_EQ(FilesBelow(share.folder), share.files) << "state was left on the share";
}

// The first logon finds the drive still away and gives up (Cancel takes the road of the ten
// minutes without their wait); the second finds it back after 5 seconds.
TEST_F(StatePerMachine, TheLocalStarterWaitsForTheNetworkDriveAndTheRunGoesOnWhenItIsBack) {
  const ShareRelease share(work_dir() / "share");
  const Machine machine = HarnessMachine();
  NetworkDrive drive(wine(), wine().prefix(), {}, work_dir() / "share");
  ASSERT_EQ(drive.kind(), "4");
  Forget(machine, share);
  WineProgram first = StartOn(machine, ShareRelease::kProgram, {"/silent", "/norestart"});
  const RunResult handed_over = first.Wait(seconds(120));
  ASSERT_FALSE(handed_over.timed_out);
  EXPECT_EQ(handed_over.exit_code, kRestartNeeded);
  const std::optional<std::string> command = RunOnceOf(machine);
  ExpectHandedOver(machine, share, command);
  ASSERT_TRUE(command);
  // What Wine shows of the folder the program made: SYSTEM and the prefix's user may change
  // it; everyone, which stands for the users, may at most read and run.
  const std::string folder = share.StateFolder().substr(0, share.StateFolder().size() - 1);
  const DriverRun made = Drive({"access " + folder});
  ASSERT_TRUE(made.ok()) << made.Report();
  const std::string sddl = made.Value("access " + folder);
  EXPECT_NE(sddl.find("(A;OICI;FA;;;SY)"), std::string::npos) << sddl;
  const std::size_t everyone = sddl.find(";;;WD)");
  if (everyone != std::string::npos) {
    const std::size_t ace = sddl.rfind('(', everyone);
    EXPECT_EQ(sddl.substr(ace, everyone + 6 - ace), "(A;OICI;0x1200a9;;;WD)") << sddl;
  }

  drive.TakeAway();
  WineProgram gives_up = LogOn(machine);
  const std::string wait_text = "Warte auf den Ordner der Installation: N:\\Pack\\";
  DriverRun waiting = Drive({WaitFor("TFWarten", 30000), TextOf("TFWarten", "LWarten")});
  wine().Screenshot("StatePerMachine-waiting-for-the-release-folder");
  ASSERT_TRUE(waiting.ok()) << waiting.Report();
  EXPECT_EQ(waiting.Value(TextOf("TFWarten", "LWarten")), wait_text);
  const DriverRun cancelled = Drive({Click("TFWarten", "BAbbrechen")});
  ASSERT_TRUE(cancelled.ok()) << cancelled.Report();
  const RunResult given_up = gives_up.Wait(seconds(30));
  ASSERT_FALSE(given_up.timed_out);
  EXPECT_EQ(given_up.exit_code, kRestartNeeded);
  EXPECT_EQ(RunOnceOf(machine), command) << "registered again for the next logon";
  EXPECT_EQ(ReadFile(machine.linux_path(share.StateFolder()) / "rir_eridivu"),
            ContinuationFile(4, kSilentOptions, {2, 3}));
  EXPECT_EQ(ReadProbeJournal(machine.Journal()).size(), 2u);
  EXPECT_EQ(Occurrences(LogRecords(machine.Log()),
                        "Der Ordner der Installation N:\\Pack\\ ist nicht erreichbar "
                        "(Warten abgebrochen)"),
            1)
      << ReadFile(machine.Log());

  WineProgram starter = LogOn(machine);
  waiting = Drive({WaitFor("TFWarten", 30000)});
  ASSERT_TRUE(waiting.ok()) << waiting.Report();
  std::this_thread::sleep_for(seconds(5));
  drive.BringBack();
  const DriverRun gone = Drive({WaitGone("TFWarten", 10000)});
  EXPECT_TRUE(gone.ok()) << gone.Report();
  const RunResult started = starter.Wait(seconds(30));
  EXPECT_FALSE(started.timed_out);
  EXPECT_EQ(started.exit_code, 0);
  EXPECT_TRUE(WaitForTheEnd(machine, share, 4)) << ReadFile(machine.Log());
  ExpectFinished(machine, share);
  EXPECT_EQ(RunOnceOf(machine), std::nullopt);
  const std::vector<std::string> log = LogRecords(machine.Log());
  EXPECT_EQ(Occurrences(log,
                        "Der Ordner der Installation N:\\Pack\\ ist nicht erreichbar; warte "
                        "bis zu 10 Minuten auf ihn"),
            2)
      << ReadFile(machine.Log());
  EXPECT_EQ(Occurrences(log,
                        "Der Ordner der Installation ist erreichbar; Start: "
                        "\"N:\\Pack\\Installer.exe\" /norestart "
                        "\"/log:C:\\ProgramData\\UpdatePackages\\Installer.log\""),
            1)
      << ReadFile(machine.Log());
}

// A release named like a folder that another program keeps under ProgramData, which everybody
// may change, and a folder of that name in the program's own folder that it did not make: both
// keep their files, the run takes a fresh name in its own folder. "/log:" with a folder and its
// trailing backslash, as administrators type it, holds the log of both halves of the run.
// Wine's security layer shows a folder's access list as the Linux permissions make it: the
// owner is the prefix's user for a folder of the Linux user that runs Wine; everyone (WD) may
// change it when others may write.
TEST_F(StatePerMachine, FoldersOfOtherProgramsKeepTheirFilesAndALogFolderHoldsBothHalves) {
  const ShareRelease share(work_dir() / "share");
  const Machine machine = HarnessMachine();
  NetworkDrive drive(wine(), wine().prefix(), {}, work_dir() / "share");
  ASSERT_EQ(drive.kind(), "4");
  Forget(machine, share);
  fs::remove_all(machine.linux_path(share.StateFolder(" (2)")));
  const std::vector<fs::path> foreign = {
      machine.linux_path("C:\\ProgramData\\" + share.release.texts.name),
      machine.linux_path(share.StateFolder())};
  for (const fs::path& folder : foreign) {
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::all);
    std::ofstream(folder / "Tool.dll") << "another program's";
  }
  const fs::path logs = machine.linux_path("C:\\Protokolle");
  fs::remove_all(logs);

  WineProgram run =
      StartOn(machine, ShareRelease::kProgram, {"/silent", "/norestart", "/log:C:\\Protokolle\\"});
  const RunResult handed_over = run.Wait(seconds(120));
  ASSERT_FALSE(handed_over.timed_out);
  EXPECT_EQ(handed_over.exit_code, kRestartNeeded);
  const std::string starter = share.StateFolder(" (2)") + "Installer.exe";
  EXPECT_EQ(RunOnceOf(machine), "\"" + starter +
                                    "\" /norestart \"/log:C:\\Protokolle\\Installer.log\" "
                                    "/release:\"N:\\Pack\" \"/continuation:" +
                                    share.StateFolder(" (2)") + "rir_eridivu\"");
  WineProgram logon = LogOn(machine);
  EXPECT_TRUE(
      WaitUntil([&] { return Count(ReadFile(logs / "Installer.log"), "Ende mit Exitcode") == 3; },
                seconds(120)))
      << ReadFile(logs / "Installer.log");
  ExpectFinished(machine, share, " (2)");
  const std::vector<std::string> log = LogRecords(logs / "Installer.log");
  EXPECT_EQ(Occurrences(log, "Ende mit Exitcode 3010"), 1) << ReadFile(logs / "Installer.log");
  EXPECT_EQ(Occurrences(log, "Ende mit Exitcode 0"), 2) << ReadFile(logs / "Installer.log");
  EXPECT_EQ(Occurrences(log, "Ordner " + share.StateFolder() +
                                 " trägt nicht die Marke dieses Programms; er bleibt unberührt, "
                                 "ein neuer Ordner folgt"),
            1)
      << ReadFile(logs / "Installer.log");
  for (const fs::path& folder : foreign) {
    EXPECT_EQ(ReadFile(folder / "Tool.dll"), "another program's") << folder;
    EXPECT_NE(fs::status(folder).permissions() & fs::perms::others_write, fs::perms::none);
    fs::remove_all(folder);
  }
  EXPECT_FALSE(fs::exists(machine.Log())) << "the default log was not used";
  fs::remove_all(machine.linux_path(share.StateFolder(" (2)")));
}

// The second hand-over of a run comes while the share is away: the program on it hands over to
// the starter the machine has, which waits at the next logon until the share is back seconds
// later, and the run finishes.
TEST_F(StatePerMachine, AShareAwayAtTheSecondHandOverAndBackSecondsLaterLosesNothing) {
  ShareRelease share(work_dir() / "share");
  share.release.packages[2].restart = true;
  MakeInstallRelease(share.folder, share.release, WindowsProgram("probe.exe"),
                     work_dir() / "unused.txt");
  for (const TestPackage& package : share.release.packages) {
    ProbeSettings settings;
    settings.journal = ShareRelease::kJournal;
    if (package.FileName() == "KB3.exe") settings.sleep_ms = 3000;  // the share goes away meanwhile
    WriteProbeSettings(DataFileOf(share.folder, package), settings);
  }
  const Machine machine = HarnessMachine();
  NetworkDrive drive(wine(), wine().prefix(), {}, work_dir() / "share");
  ASSERT_EQ(drive.kind(), "4");
  Forget(machine, share);
  WineProgram first = StartOn(machine, ShareRelease::kProgram, {"/silent", "/norestart"});
  const RunResult handed_over = first.Wait(seconds(120));
  ASSERT_FALSE(handed_over.timed_out);
  EXPECT_EQ(handed_over.exit_code, kRestartNeeded);

  WineProgram second_half = LogOn(machine);
  ASSERT_TRUE(
      WaitUntil([&] { return ReadProbeJournal(machine.Journal()).size() == 3; }, seconds(60)));
  drive.TakeAway();
  EXPECT_TRUE(WaitUntil([&] { return Count(ReadFile(machine.Log()), "Ende mit Exitcode") == 3; },
                        seconds(60)))
      << ReadFile(machine.Log());
  EXPECT_EQ(RunOnceOf(machine), share.StarterCommand()) << ReadFile(machine.Log());
  EXPECT_EQ(ReadFile(machine.linux_path(share.StateFolder()) / "rir_eridivu"),
            ContinuationFile(4, kSilentOptions, {3}));

  WineProgram starter = LogOn(machine);
  DriverRun waiting = Drive({WaitFor("TFWarten", 30000)});
  ASSERT_TRUE(waiting.ok()) << waiting.Report();
  std::this_thread::sleep_for(seconds(3));
  drive.BringBack();
  EXPECT_TRUE(WaitForTheEnd(machine, share, 5)) << ReadFile(machine.Log());
  ExpectFinished(machine, share);
  EXPECT_EQ(RunOnceOf(machine), std::nullopt);
  const std::vector<std::string> log = LogRecords(machine.Log());
  EXPECT_EQ(Occurrences(log, "Ende mit Exitcode 0"), 3) << ReadFile(machine.Log());
  EXPECT_EQ(Occurrences(log, "Ende mit Exitcode 1603"), 0) << ReadFile(machine.Log());
}

// Each package runs from its copy on the machine, the next one is copied while the one before
// runs, and a drive that is away for 8 seconds meanwhile breaks nothing: the copy that finds it
// away waits and goes on. The last package, an .msi in Data itself, takes the cabinet its Media
// table names along, and msiexec installs it from there.
TEST_F(StatePerMachine, PackagesRunFromTheirCopiesAndADriveAwayForSecondsBreaksNothing) {
  ShareRelease share(work_dir() / "share");
  fs::create_directories(work_dir() / "msi");
  TestMsi msi(wine(), work_dir() / "msi" / "Testpaket.msi", TestMsi::Cabinet::Beside);
  share.release.packages.back() = {"Testpaket.msi", "/qn"};
  share.release.packages.back().source = msi.path();
  share.release.packages[1].restart = false;
  MakeInstallRelease(share.folder, share.release, WindowsProgram("probe.exe"),
                     work_dir() / "unused.txt");
  fs::copy_file(work_dir() / "msi" / "payload.cab", share.folder / "Data" / "payload.cab",
                fs::copy_options::overwrite_existing);
  const std::map<std::string, unsigned> sleeps = {{"KB1.exe", 4000}, {"KB2.exe", 1000}};
  for (const TestPackage& package : share.release.packages) {
    if (package.source) continue;
    ProbeSettings settings;
    settings.journal = ShareRelease::kJournal;
    if (sleeps.count(package.FileName())) settings.sleep_ms = sleeps.at(package.FileName());
    WriteProbeSettings(DataFileOf(share.folder, package), settings);
  }
  const Machine machine = HarnessMachine();
  NetworkDrive drive(wine(), wine().prefix(), {}, work_dir() / "share");
  ASSERT_EQ(drive.kind(), "4");
  Forget(machine, share);
  const std::string cache = share.StateFolder() + "Cache\\";
  const fs::path second = machine.linux_path(cache + "2\\KB2.exe");
  const auto second_size = fs::file_size(DataFileOf(share.folder, share.release.packages[1]));

  WineProgram run = StartOn(machine, ShareRelease::kProgram, {"/silent", "/norestart"});
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::error_code error;
        return fs::file_size(second, error) == second_size;
      },
      seconds(60)))
      << ReadFile(machine.Log());
  EXPECT_TRUE(
      WaitUntil([&] { return ReadProbeJournal(machine.Journal()).size() == 1; }, seconds(10)));
  EXPECT_EQ(FileNames(ReadProbeJournal(machine.Journal())), std::vector<std::string>{"KB1.exe"});
  drive.TakeAway();
  std::this_thread::sleep_for(seconds(8));
  drive.BringBack();
  const RunResult end = run.Wait(seconds(120));
  ASSERT_FALSE(end.timed_out);
  const std::string log = ReadFile(machine.Log());
  EXPECT_EQ(end.exit_code, 0) << log;

  const std::vector<ProbeRun> runs = ReadProbeJournal(machine.Journal());
  ASSERT_EQ(FileNames(runs), share.release.ProbeNames()) << log;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const std::string copy = cache + std::to_string(i + 1) + "\\";
    EXPECT_NE(runs[i].command_line.find(copy + runs[i].file_name), std::string::npos)
        << runs[i].command_line;
    EXPECT_EQ(runs[i].working_dir + "\\", copy);
  }
  EXPECT_EQ(Occurrences(LogRecords(machine.Log()), "Kopie unterbrochen"), 1) << log;
  EXPECT_NE(log.find("Paket 3 (Aktualisierung KB3 für Windows): Kopie unterbrochen"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("lief aus der Kopie " + cache + "4\\Testpaket.msi"), std::string::npos) << log;
  EXPECT_TRUE(fs::exists(msi.InstalledFile())) << log;
  EXPECT_FALSE(fs::exists(machine.linux_path(cache))) << "a copy was left";
  ExpectFinished(machine, share);
}

}  // namespace
}  // namespace e2e
