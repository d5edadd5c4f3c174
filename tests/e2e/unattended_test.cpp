// Runs that nobody watches: a silent run ends by itself, whatever it would have shown goes to
// the install log, an unreadable continuation file is set aside, a killed continuation goes on
// where it stopped, two installers never run packages at the same time, a program folder that
// can't be written keeps the run's state under ProgramData, both halves of a run that spans a
// restart write one log, and a start where nobody sees the windows ends by itself.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "harness/release_folder.h"
#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

const char kSilentStart[] = "Unbeaufsichtigte Installation aller Pakete (/silent)";
const char kRestartRequested[] = "Neustart des Computers angefordert";
const char kNotShown[] = "(nicht angezeigt)";
const char kWaitsForTheOther[] =
    "Ein anderes Installationsprogramm läuft; warte, bis es beendet ist";
const char kWaitOrGiveUp[] =
    "Ein anderes Installationsprogramm läuft gerade. Soll Setup warten, bis es beendet ist, und "
    "dann mit der Installation beginnen? Mit Nein bleiben Sie auf dieser Seite.";
const char kWaitingForTheOther[] = "Warte auf das andere Installationsprogramm...";

std::string Listing(const std::vector<ProbeRun>& runs) {
  std::string text;
  for (const ProbeRun& run : runs)
    text += "  " + run.file_name + " lines " + std::to_string(run.start_line) + ".." +
            std::to_string(run.end_line) + "\n";
  return text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) throw std::logic_error("no '" + from + "' in the settings");
  return text.replace(at, from.size(), to);
}

class Unattended : public UnattendedTest {};

// --- A silent run ends by itself ---

// A release whose [Images] values are all empty, and no picture in its Data folder.
fs::path MakeReleaseWithoutPictures(const fs::path& folder, const InstallRelease& release,
                                    const fs::path& probe, const fs::path& journal) {
  const fs::path exe = MakeInstallRelease(folder, release, probe, journal);
  std::string settings = release.SettingsText();
  for (std::size_t i = 0; i < kSidePictures.size(); ++i) {
    const std::string key = "Image" + std::to_string(i + 1) + "=";
    settings = Replaced(settings, key + kSidePictures[i], key);
    fs::remove(folder / "Data" / kSidePictures[i]);
  }
  std::ofstream(folder / "Data" / "Settings.ini", std::ios::binary | std::ios::trunc)
      << ToWindows1252(settings);
  return exe;
}

TEST_F(Unattended, SilentRunWithoutPicturesEndsByItselfAndShowsNothing) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}};
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe =
        MakeReleaseWithoutPictures(folder / "release", release, probe(), JournalOf(folder));
    ASSERT_NE(ReadFile(exe.parent_path() / "Data" / "Settings.ini").find("Image4=\r\n"),
              std::string::npos);
    WineProgram installer = wine().Start(exe.string(), {"/silent"});

    // Up to the countdown, and on until the restart request ends the program.
    const BoxWatch countdown = WatchForBoxes(installer, "TFAutoReboot", seconds(90));
    ASSERT_EQ(countdown.box, "") << "a silent run showed a message";
    ASSERT_TRUE(countdown.reached) << "no countdown within 90 s";
    WineProgram sentinel = StartSentinel();
    const BoxWatch end = WatchForBoxes(installer, "", seconds(40));
    EXPECT_EQ(end.box, "") << "a silent run showed a message";
    EXPECT_TRUE(end.reached) << "the silent run did not end by itself";
    const RunResult ended = installer.Wait(seconds(5));
    EXPECT_FALSE(ended.timed_out);
    EXPECT_EQ(ended.signal, 0);
    // Wine's end of the session ends the process itself, with 0; the run's own
    // code (1641) is in the log's last line.
    EXPECT_EQ(ended.exit_code, 0);
    EXPECT_TRUE(SessionEnded(sentinel, seconds(10))) << "no restart request ended the session";

    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
    const std::vector<std::string> log = InstallLogRecords();
    EXPECT_EQ(Occurrences(log, kSilentStart), 1);
    EXPECT_EQ(Occurrences(log, kRestartRequested), 1);
    EXPECT_EQ(Occurrences(log, kNotShown), 0) << "the run had something to report:\n"
                                              << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, "Die Sitzung endet: Ende mit Exitcode 1641"), 1)
        << ReadFile(InstallLog());
  });
}

// --- An unreadable continuation file ---

TEST_F(Unattended, UnreadableContinuationFileIsLoggedSetAsideAndTheSilentRunInstallsAll) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}};
  const std::string garbage = "zehn\r\n1\r\n0\r\n0\r\n0\r\n2\r\n";
  const std::vector<std::string> twice = {"KB1.exe", "KB2.exe", "KB3.exe",
                                          "KB1.exe", "KB2.exe", "KB3.exe"};
  RetryOnLostStart(twice, twice, [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    const fs::path continuation = exe.parent_path() / "rir_eridivu";
    const fs::path aside = exe.parent_path() / "rir_eridivu.bad";
    std::ofstream(continuation, std::ios::binary) << garbage;
    const std::string reason = "'zehn' ist kein gültiger Integerwert";
    const std::string where =
        "Die Datei zur Fortsetzung der Installation ist unlesbar: " + ToWindowsPath(continuation) +
        "\nSie wurde umbenannt in " + ToWindowsPath(aside) + ".";

    for (int start = 1; start <= 2; ++start) {
      SCOPED_TRACE("silent start " + std::to_string(start));
      WineProgram installer = wine().Start(exe.string(), {"/silent"});
      const BoxWatch watch = WatchForBoxes(installer, "TFEnde", seconds(90));
      ASSERT_EQ(watch.box, "") << "a silent run showed a message";
      ASSERT_TRUE(watch.reached) << "no finish page within 90 s";
      EndFinishedSilentRunWithoutRestart();
      const RunResult end = installer.Wait(seconds(10));
      EXPECT_FALSE(end.timed_out);
      EXPECT_EQ(end.exit_code, 0);

      const std::vector<std::string> ran = FileNames(ReadProbeJournal(JournalOf(folder)));
      EXPECT_EQ(ran, std::vector<std::string>(twice.begin(), twice.begin() + 3 * start));
      EXPECT_FALSE(fs::exists(continuation));
      EXPECT_EQ(ReadFile(aside), garbage);
      // Reported once, by the start that found it.
      const std::vector<std::string> log = InstallLogRecords();
      EXPECT_EQ(Occurrences(log, reason), 1) << ReadFile(InstallLog());
      EXPECT_EQ(Occurrences(log, where), 1) << ReadFile(InstallLog());
      EXPECT_EQ(Occurrences(log, kNotShown), 1) << ReadFile(InstallLog());
      EXPECT_EQ(Occurrences(log, kSilentStart), start);
    }
  });
}

// --- A continued run killed in the middle ---

TEST_F(Unattended, KilledContinuationGoesOnWithThePackageThatWasRunning) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}, {"KB4.exe", "/q"}};
  const std::vector<std::string> expected = {"KB2.exe", "KB3.exe", "KB3.exe", "KB4.exe"};
  RetryOnLostStart(expected, expected, [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    const fs::path kb3 = exe.parent_path() / "Data" / "KB3.exe";
    ProbeSettings long_run;
    long_run.journal = ToWindowsPath(JournalOf(folder));
    long_run.sleep_ms = 8000;
    long_run.record_end = true;
    WriteProbeSettings(kb3, long_run);
    // Package 1 ran before the restart; 2, 3 and 4 are left, no option is on.
    const fs::path continuation = exe.parent_path() / "rir_eridivu";
    const std::vector<bool> options = {false, false, false, false};
    std::ofstream(continuation, std::ios::binary) << ContinuationFile(4, options, {1, 2, 3});
    const std::string command = RunOnceCommand(exe);

    WineProgram first = wine().Start(exe.string(), {});
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 2, seconds(60)));
    // Package 2 is done, so the file no longer names it; package 3 is running.
    EXPECT_EQ(ReadFile(continuation), ContinuationFile(4, options, {2, 3}));
    EXPECT_EQ(RunOnceValue(), command) << "the continued run did not write its value again";
    ASSERT_EQ(kill(first.pid(), SIGKILL), 0);
    const RunResult killed = first.Wait(seconds(10));
    ASSERT_FALSE(killed.timed_out);
    EXPECT_EQ(killed.signal, SIGKILL);
    std::vector<ProbeRun> runs = ReadProbeJournal(JournalOf(folder));
    ASSERT_EQ(FileNames(runs), (std::vector<std::string>{"KB2.exe", "KB3.exe"}));
    EXPECT_EQ(runs[1].end_line, 0) << "package 3 ended before the kill";
    EXPECT_EQ(ReadFile(continuation), ContinuationFile(4, options, {2, 3}));
    EXPECT_EQ(RunOnceValue(), command);

    // The package outlives the installer; the logon comes after it has ended.
    long_run.sleep_ms = 1000;
    WriteProbeSettings(kb3, long_run);
    const auto deadline = std::chrono::steady_clock::now() + seconds(20);
    while (ReadProbeJournal(JournalOf(folder)).at(1).end_line == 0 &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_NE(ReadProbeJournal(JournalOf(folder)).at(1).end_line, 0);

    // The logon: Windows deletes the value and runs its command.
    ForgetRunOnce();
    WineProgram logon = StartRunOnce(command);
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 3, seconds(60)));
    EXPECT_EQ(RunOnceValue(), command) << "the continued run did not write its value again";
    CloseFinishPageWithoutRestart();
    const RunResult end = logon.Wait(seconds(20));
    EXPECT_FALSE(end.timed_out) << "the finish page did not end the program";
    EXPECT_EQ(end.exit_code, 0);

    runs = ReadProbeJournal(JournalOf(folder));
    EXPECT_EQ(FileNames(runs), expected);
    EXPECT_FALSE(fs::exists(continuation)) << "the run is over, its state must go";
    EXPECT_EQ(RunOnceValue(), std::nullopt);
    EXPECT_EQ(UserRunOnceValue(), std::nullopt);
  });
}

// --- One installer at a time ---

InstallRelease ReleaseOf(const std::string& letter) {
  InstallRelease release;
  release.texts.name = "Musterrelease " + letter;
  for (int i = 1; i <= 3; ++i)
    release.packages.push_back({letter + std::to_string(i) + ".exe", ""});
  return release;
}

// Every probe of the release records its end, after running for `sleep_ms`.
void RecordEnds(const fs::path& exe, const InstallRelease& release, const fs::path& journal,
                unsigned sleep_ms) {
  ProbeSettings settings;
  settings.journal = ToWindowsPath(journal);
  settings.sleep_ms = sleep_ms;
  settings.record_end = true;
  for (const std::string& name : release.ProbeNames())
    WriteProbeSettings(exe.parent_path() / "Data" / name, settings);
}

TEST_F(Unattended, TwoSilentInstallersStartedTogetherRunTheirPackagesOneAfterTheOther) {
  const InstallRelease a = ReleaseOf("A");
  const InstallRelease b = ReleaseOf("B");
  std::vector<std::string> all = a.ProbeNames();
  for (const std::string& name : b.ProbeNames()) all.push_back(name);
  RetryOnLostStart(all, all, [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe_a = MakeInstallRelease(folder / "a", a, probe(), JournalOf(folder));
    const fs::path exe_b = MakeInstallRelease(folder / "b", b, probe(), JournalOf(folder));
    RecordEnds(exe_a, a, JournalOf(folder), 1500);
    RecordEnds(exe_b, b, JournalOf(folder), 1500);

    WineProgram first = wine().Start(exe_a.string(), {"/silent"});
    WineProgram second = wine().Start(exe_b.string(), {"/silent"});
    EndFinishedSilentRunWithoutRestart();  // whichever came first
    EndFinishedSilentRunWithoutRestart();
    for (WineProgram* installer : {&first, &second}) {
      const RunResult end = installer->Wait(seconds(10));
      EXPECT_FALSE(end.timed_out);
      EXPECT_EQ(end.exit_code, 0);
    }

    const std::vector<ProbeRun> runs = ReadProbeJournal(JournalOf(folder));
    std::vector<std::string> names = FileNames(runs);
    ASSERT_EQ(runs.size(), all.size()) << Listing(runs);
    // Each package ended before the next one began...
    for (std::size_t i = 0; i < runs.size(); ++i) {
      EXPECT_NE(runs[i].end_line, 0) << runs[i].file_name << " recorded no end\n" << Listing(runs);
      if (i + 1 == runs.size()) break;
      EXPECT_LT(runs[i].end_line, runs[i + 1].start_line)
          << runs[i].file_name << " and " << runs[i + 1].file_name << " ran at the same time\n"
          << Listing(runs);
    }
    // ...and one installer's run came whole before the other's.
    const bool a_first = names.front() == a.ProbeNames().front();
    std::vector<std::string> in_order = a_first ? a.ProbeNames() : b.ProbeNames();
    for (const std::string& name : (a_first ? b : a).ProbeNames()) in_order.push_back(name);
    EXPECT_EQ(names, in_order);
    const std::vector<std::string> log = InstallLogRecords();
    EXPECT_EQ(Occurrences(log, kWaitsForTheOther), 1) << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, kSilentStart), 2);
  });
}

// The wizard opens while another installer runs, and asks only when its installation starts;
// while it waits, its page answers (the driver reads it) and says what it waits for.
TEST_F(Unattended, AWatchedStartWhileAnotherInstallerRunsWaitsForItWhenTheUserChooses) {
  InstallRelease busy = ReleaseOf("A");
  busy.packages[0].sleep_ms = 6000;
  busy.defaults.minimize = true;  // in the tray: the only installation page shown is the wizard's
  const InstallRelease other = ReleaseOf("B");
  std::vector<std::string> all = busy.ProbeNames();
  for (const std::string& name : other.ProbeNames()) all.push_back(name);
  RetryOnLostStart(all, all, [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe_busy = MakeInstallRelease(folder / "a", busy, probe(), JournalOf(folder));
    const fs::path exe_other = MakeInstallRelease(folder / "b", other, probe(), JournalOf(folder));
    WineProgram running = wine().Start(exe_busy.string(), {"/silent"});
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 1, seconds(60)));

    WineProgram watched = wine().Start(exe_other.string(), {});
    const DriverRun waits =
        Drive({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BWeiter"),
               WaitFor("TMessageForm", 10000), TextOf("TMessageForm", "Message"),
               Click("TMessageForm", "Yes"), WaitGone("TMessageForm", 5000),
               WaitFor("TFKopieren", 10000), WaitGone("TFWillkommen", 5000),
               TextOf("TFKopieren", "LKopierStatus"), EnabledOf("TFKopieren", "BAbbrechen")});
    // Once the page has had time to paint itself, as it does while it waits.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    wine().Screenshot("Unattended-waits-for-another-installer");
    ASSERT_TRUE(waits.ok()) << waits.Report();
    EXPECT_EQ(waits.Value(TextOf("TMessageForm", "Message")), kWaitOrGiveUp);
    EXPECT_EQ(waits.Value(TextOf("TFKopieren", "LKopierStatus")), kWaitingForTheOther);
    EXPECT_EQ(waits.Value(EnabledOf("TFKopieren", "BAbbrechen")), "1");

    EndFinishedSilentRunWithoutRestart();
    const RunResult first_end = running.Wait(seconds(10));
    EXPECT_FALSE(first_end.timed_out);
    EXPECT_EQ(first_end.exit_code, 0);
    CloseFinishPageWithoutRestart();  // the watched run, once it had the lock
    const RunResult second_end = watched.Wait(seconds(10));
    EXPECT_FALSE(second_end.timed_out) << "the watched installer did not end";
    EXPECT_EQ(second_end.exit_code, 0);

    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), all);
    EXPECT_EQ(Occurrences(InstallLogRecords(), kWaitsForTheOther), 1) << ReadFile(InstallLog());
  });
}

// --- A program folder that can't be written ---

// `folder` bound read-only onto itself for the lifetime of the object.
class ReadOnlyBind {
 public:
  ReadOnlyBind(WineSession& wine, const fs::path& folder) : wine_(wine), folder_(folder) {
    const RunResult bound = Run({"mount", "--bind", folder.string(), folder.string()});
    if (bound.exit_code != 0) {
      error_ = "mount --bind: " + bound.output;
      return;
    }
    mounted_ = true;
    const RunResult read_only = Run({"mount", "-o", "remount,ro,bind", folder.string()});
    if (read_only.exit_code != 0) error_ = "mount -o remount,ro,bind: " + read_only.output;
  }
  ~ReadOnlyBind() {
    if (!mounted_) return;
    // Wine's processes may still be leaving the folder.
    for (int i = 0; i < 50; ++i) {
      if (Run({"umount", folder_.string()}).exit_code == 0) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    Run({"umount", "-l", folder_.string()});
    ADD_FAILURE() << folder_ << " was busy; unmounted lazily";
  }
  ReadOnlyBind(const ReadOnlyBind&) = delete;
  ReadOnlyBind& operator=(const ReadOnlyBind&) = delete;

  const std::string& error() const { return error_; }  // empty: the folder is read-only

 private:
  RunResult Run(const std::vector<std::string>& argv) {
    RunOptions options;
    options.capture_output = true;
    options.timeout = seconds(20);
    return wine_.RunNative(argv, options);
  }

  WineSession& wine_;
  fs::path folder_;
  bool mounted_ = false;
  std::string error_;
};

TEST_F(Unattended, ReadOnlyProgramFolderKeepsTheContinuationUnderProgramData) {
  {
    fs::create_directories(work_dir() / "mount-check");
    ReadOnlyBind check(wine(), work_dir() / "mount-check");
    if (!check.error().empty()) GTEST_SKIP() << "no read-only bind mount here: " << check.error();
  }
  InstallRelease release;
  // Plain ASCII: under the harness's German locale, which this machine does not have installed,
  // Wine cannot give a file a name outside ASCII (ERROR_FILE_NOT_FOUND).
  release.texts.name = "Nur lesbar - Musterrelease";
  release.packages = {
      {"KB1.exe", "/extract:{tmp}\\eins"}, {"KB2.exe", "/log:{tmp}\\zwei.log"}, {"KB3.exe", "/q"}};
  release.packages[0].restart = true;
  release.packages[0].sleep_ms = 3000;  // the sentinel shows meanwhile
  release.packages[1].sleep_ms = 3000;  // long enough to look at the state meanwhile
  const std::string state_folder = "C:\\ProgramData\\UpdatePackages\\" + release.texts.name;
  const fs::path state = wine().ToLinuxPath(state_folder);
  const std::string tmp = state_folder + "\\data\\setuptemp";
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    fs::remove_all(state);
    ForgetUserRunOnce();
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    const fs::path program_folder = exe.parent_path();
    ReadOnlyBind read_only(wine(), program_folder);
    ASSERT_EQ(read_only.error(), "");
    // Told it runs on XP, the program hands over through the user's run-once key, which Wine
    // leaves alone at the restart: the test plays the logon itself.
    InstallerWindowsVersion system(wine(), "winxp");

    WineProgram installer = wine().Start(exe.string(), {"/silent"});
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 1, seconds(60)));
    WineProgram sentinel = StartSentinel();
    const RunResult handed_over = installer.Wait(seconds(60));
    EXPECT_FALSE(handed_over.timed_out) << "the restart request did not end the program";
    EXPECT_TRUE(SessionEnded(sentinel, seconds(10))) << "no restart request ended the session";

    std::vector<ProbeRun> runs = ReadProbeJournal(JournalOf(folder));
    ASSERT_EQ(FileNames(runs), std::vector<std::string>{"KB1.exe"});
    EXPECT_EQ(runs[0].command_line, "\"" + ToWindowsPath(program_folder / "Data" / "KB1.exe") +
                                        "\" /extract:" + tmp + "\\eins");
    EXPECT_TRUE(fs::is_directory(state / "data" / "setuptemp"));
    const std::vector<bool> options = {true, false, false, false};  // a silent run restarts
    EXPECT_EQ(ReadFile(state / "rir_eridivu"), ContinuationFile(3, options, {1, 2}));
    EXPECT_FALSE(fs::exists(program_folder / "rir_eridivu"));
    const std::optional<std::string> command = UserRunOnceValue();
    ASSERT_EQ(command, RunOnceCommand(exe, "", kInstallLog, state_folder + "\\"));
    EXPECT_EQ(RunOnceValue(), std::nullopt);

    // The logon.
    ForgetUserRunOnce();
    WineProgram logon = StartRunOnce(*command);
    ASSERT_TRUE(WaitForJournal(JournalOf(folder), 2, seconds(60)));
    EXPECT_EQ(ReadFile(state / "rir_eridivu"), ContinuationFile(3, options, {1, 2}));
    EXPECT_EQ(UserRunOnceValue(), command);
    EndFinishedSilentRunWithoutRestart();
    const RunResult end = logon.Wait(seconds(20));
    EXPECT_FALSE(end.timed_out) << "the finish page did not end the program";
    EXPECT_EQ(end.exit_code, 0);

    runs = ReadProbeJournal(JournalOf(folder));
    ASSERT_EQ(FileNames(runs), release.ProbeNames());
    EXPECT_EQ(runs[1].command_line, "\"" + ToWindowsPath(program_folder / "Data" / "KB2.exe") +
                                        "\" /log:" + tmp + "\\zwei.log");
    EXPECT_FALSE(fs::exists(state / "rir_eridivu")) << "the run is over, its state must go";
    EXPECT_EQ(UserRunOnceValue(), std::nullopt);
    const std::vector<std::string> log = InstallLogRecords();
    EXPECT_EQ(Occurrences(log, kNotShown), 0) << ReadFile(InstallLog());
    fs::remove_all(state);
  });
}

// --- One log for both halves of a run ---

TEST_F(Unattended, LogInAMissingFolderIsMadeAndBothHalvesOfARestartAppendToIt) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}};
  release.packages[0].restart = true;  // automatic restart is off: the prompt waits
  // Relative to the folder the first half starts in; the logon starts in another one.
  const std::string working = "C:\\e2e Arbeitsordner";
  const std::string relative = "Protokolle\\neu\\Lauf.log";
  const std::string log_file = working + "\\" + relative;
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path work = wine().ToLinuxPath(working);
    fs::remove_all(work);
    fs::create_directories(work);
    const fs::path log = wine().ToLinuxPath(log_file);
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    RunOptions in_work;
    in_work.working_dir = working;
    WineProgram installer = wine().Start(exe.string(), {"/log:" + relative}, in_work);

    const DriverRun prompt = Drive({WaitFor("TFWillkommen", 30000),
                                    Click("TFWillkommen", "BWeiter"), WaitFor("TForm1", 60000)});
    ASSERT_TRUE(prompt.ok()) << prompt.Report();
    EXPECT_TRUE(fs::is_regular_file(log)) << "no log in the folder made for it";
    const std::optional<std::string> command = RunOnceValue();
    ASSERT_EQ(command, RunOnceCommand(exe, "", log_file));
    ForgetRunOnce();  // the test plays the logon itself
    RestartFromThePrompt(installer);

    // The logon starts the command in the program's folder.
    WineProgram logon = StartRunOnce(*command);
    CloseFinishPageWithoutRestart();
    const RunResult end = logon.Wait(seconds(20));
    EXPECT_FALSE(end.timed_out) << "the finish page did not end the program";
    EXPECT_EQ(end.exit_code, 0);
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());

    const std::vector<std::string> records = LogRecords(log);
    EXPECT_EQ(Occurrences(records, "Start: Installer "), 2) << ReadFile(log);
    EXPECT_EQ(Occurrences(records, ", /log:" + relative), 1) << ReadFile(log);
    EXPECT_EQ(Occurrences(records, ", /log:" + log_file), 1) << ReadFile(log);
    EXPECT_EQ(Occurrences(records, kRestartRequested), 1) << ReadFile(log);
    EXPECT_EQ(Occurrences(records, "gelesen: 1 von 2 Paketen"), 1) << ReadFile(log);
    ASSERT_FALSE(records.empty());
    EXPECT_NE(records.back().find("  Ende mit Exitcode 0"), std::string::npos) << ReadFile(log);
    EXPECT_FALSE(fs::exists(InstallLog())) << "a half of the run logged in the default place";
    EXPECT_FALSE(fs::exists(exe.parent_path() / "Protokolle")) << "the logon made its own log";
    fs::remove_all(work);
  });
}

// --- Nobody sees the windows ---

// A deployment agent that runs as LocalSystem starts the program without a switch, on a window
// station without a display: no wizard waits there for a click. The run installs up to the
// package that demands a restart, leaves the restart to the agent, and ends with 3010.
TEST_F(Unattended, AStartWhereNobodySeesTheWindowsEndsByItselfWith3010) {
  InstallRelease release;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}, {"KB3.exe", "/q"}};
  release.packages[1].restart = true;
  ForgetInstallLog();
  ForgetRunOnce();
  const fs::path folder = work_dir();
  const fs::path exe = MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
  const std::string command = "unseen " + ToWindowsPath(exe) + " 120000";
  const DriverRun run = e2e::Drive(wine(), {command}, std::chrono::minutes(3));
  ASSERT_TRUE(run.ok()) << run.Report();
  EXPECT_EQ(run.Value(command), "3010");
  EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
            (std::vector<std::string>{"KB1.exe", "KB2.exe"}));
  const std::vector<std::string> log = InstallLogRecords();
  EXPECT_EQ(Occurrences(log, "Fensterstation ohne Anzeige): unbeaufsichtigt"), 1)
      << ReadFile(InstallLog());
  EXPECT_EQ(Occurrences(log, "wie /silent /norestart"), 1);
  EXPECT_EQ(Occurrences(log, kRestartRequested), 0);
  EXPECT_EQ(Occurrences(log, "Ende mit Exitcode 3010"), 1);
  EXPECT_TRUE(RunOnceValue().has_value()) << "the rest of the run has no start";
  ForgetRunOnce();
}

}  // namespace
}  // namespace e2e
