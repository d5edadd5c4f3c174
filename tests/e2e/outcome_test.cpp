// What a run makes of its packages' exit codes: failures named on the finish page and in the
// install log, updates that do not apply listed apart from them, restart codes handing over
// like a package's Restart value, the program's own
// exit code and its record for deployment tools, and the switches /norestart, /log and /?.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <iostream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "frame/install_log.h"
#include "harness/release_folder.h"
#include "harness/test_msi.h"
#include "harness/unattended_fixture.h"

namespace e2e {
namespace {

using std::chrono::seconds;

// The program's exit codes, as Windows Installer names them.
constexpr int kInstallFailure = 1603;         // ERROR_INSTALL_FAILURE
constexpr int kRebootInitiated = 1641;        // ERROR_SUCCESS_REBOOT_INITIATED
constexpr int kRebootRequired = 3010;         // ERROR_SUCCESS_REBOOT_REQUIRED
constexpr long long kWusaRestart = 0x240005;  // WU_S_REBOOT_REQUIRED
constexpr long long kWusaInstalled = 0x240006;
constexpr long long kNotApplicable = 0x80240017;  // WU_E_NOT_APPLICABLE

// The built-in words of the finish page's list, for a language file without 078 to 080.
const char kSomeFailed[] =
    "Die Installation wurde abgeschlossen, aber nicht alle Dateien konnten installiert werden:";
const char kErrorCode[] = "Fehlercode";

const char kRestartRequested[] = "Neustart des Computers angefordert";

// Unix keeps only the low 8 bits of a Windows exit code.
int AsUnix(long long code) {
  return static_cast<int>(code & 0xFF);
}

// The outcomes of the packages: "Paket 2 (Name): ...", not the starts "Paket 2 (Name) startet:
// ...".
std::vector<std::string> PackageTexts(const std::vector<std::string>& records) {
  std::vector<std::string> found;
  for (const std::string& text : TextsStartingWith(records, "Paket "))
    if (text.find("): ") != std::string::npos) found.push_back(text);
  return found;
}

std::string PackageText(int number, const TestPackage& package, const std::string& outcome) {
  return "Paket " + std::to_string(number) + " (" + package.Name() + "): " + outcome;
}

// What the log says of a package that ended with `code`: "installiert, Exitcode 0 (0x00000000)".
std::string WithCode(const std::string& outcome, long long code) {
  return outcome + ", Exitcode " + frame::ExitCodeText(static_cast<std::uint32_t>(code));
}

std::string Installed(long long code) {
  return WithCode("installiert", code);
}

std::string Failed(long long code) {
  return WithCode("fehlgeschlagen", code);
}

std::string NeedsRestart(long long code) {
  return WithCode("installiert, Neustart nötig", code);
}

// The log's last record: the run's end with its exit code.
std::string RunEnd(int code) {
  return "Ende mit Exitcode " + frame::ExitCodeText(static_cast<std::uint32_t>(code));
}

std::vector<std::string> Lines(const std::string& text, char separator) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

// Every probe of the release records its run in `journal` and ends with its code of `codes`.
void SetExitCodes(const fs::path& exe, const InstallRelease& release, const fs::path& journal,
                  const std::vector<long long>& codes) {
  for (std::size_t i = 0; i < release.packages.size(); ++i) {
    ProbeSettings settings;
    settings.journal = ToWindowsPath(journal);
    settings.exit_code = codes.at(i);
    if (release.packages[i].sleep_ms) settings.sleep_ms = release.packages[i].sleep_ms;
    WriteProbeSettings(exe.parent_path() / "Data" / release.packages[i].file, settings);
  }
}

InstallRelease ProbeRelease(int count) {
  InstallRelease release;
  for (int i = 1; i <= count; ++i)
    release.packages.push_back({"KB" + std::to_string(i) + ".exe", "/q"});
  return release;
}

class Outcome : public UnattendedTest {};

// --- A failure before a restart, reported after it ---

TEST_F(Outcome, FailureBeforeARestartIsNamedAfterTheLogonAndTheRunEndsWith1603) {
  InstallRelease release = ProbeRelease(5);
  release.texts.post_install = {"Danach: bitte neu anmelden."};
  const std::vector<long long> codes = {0, kInstallFailure, 0, kRebootRequired, 0};
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    SetExitCodes(exe, release, JournalOf(folder), codes);
    const fs::path continuation = exe.parent_path() / "rir_eridivu";
    const fs::path failures = exe.parent_path() / "rir_eridivu.failed";
    WineProgram installer = wine().Start(exe.string(), {});

    // Automatic restart is off: package 4's 3010 brings the restart prompt before package 5.
    const DriverRun prompt = Drive({WaitFor("TFWillkommen", 30000),
                                    Click("TFWillkommen", "BWeiter"), WaitFor("TForm1", 60000)});
    ASSERT_TRUE(prompt.ok()) << prompt.Report();
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))),
              (std::vector<std::string>{"KB1.exe", "KB2.exe", "KB3.exe", "KB4.exe"}));
    EXPECT_EQ(ReadFile(continuation), ContinuationFile(5, {false, false, false, false}, {4}));
    const std::string failed_before = ReadFile(failures);
    EXPECT_NE(failed_before.find("1603"), std::string::npos) << failed_before;
    EXPECT_NE(failed_before.find("KB2"), std::string::npos) << failed_before;
    const std::optional<std::string> command = RunOnceValue();
    ASSERT_EQ(command, RunOnceCommand(exe));
    ForgetRunOnce();  // the test plays the logon itself

    RestartFromThePrompt(installer);
    EXPECT_EQ(ReadProbeJournal(JournalOf(folder)).size(), 4u);

    // The logon: package 5 runs, and the finish page names package 2 of the first half.
    WineProgram continuing = StartRunOnce(*command);
    const DriverRun finish = Drive({WaitFor("TFEnde", 60000), TextOf("TFEnde", "LHinweis"),
                                    TextOf("TFEnde", "LText"), IsShown("TFAutoReboot")});
    wine().Screenshot("Outcome-failure-named-after-the-logon");
    ASSERT_TRUE(finish.ok()) << finish.Report();
    EXPECT_EQ(finish.Value(TextOf("TFEnde", "LHinweis")), kSomeFailed);
    const std::string text = finish.Value(TextOf("TFEnde", "LText"));
    const std::string listed = std::string(kSomeFailed) + "\r- " + release.packages[1].Name() +
                               " (" + kErrorCode + " 1603)\r";
    EXPECT_EQ(text.substr(0, listed.size()), listed) << text;
    int named = 0;
    for (const std::string& line : Lines(text, '\r')) named += line.rfind("- ", 0) == 0;
    EXPECT_EQ(named, 1) << text;
    EXPECT_NE(text.find(JoinedBlock(release.texts.post_install)), std::string::npos) << text;
    EXPECT_EQ(finish.Value(IsShown("TFAutoReboot")), "0");

    const DriverRun closed = Drive({Click("TFEnde", "CBNichtNeustarten"),
                                    Click("TFEnde", "BAbbrechen"), WaitGone("TFEnde", 10000)});
    ASSERT_TRUE(closed.ok()) << closed.Report();
    const RunResult end = continuing.Wait(seconds(20));
    EXPECT_FALSE(end.timed_out) << "the finish page did not end the program";
    EXPECT_EQ(end.exit_code, AsUnix(kInstallFailure));

    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
    EXPECT_FALSE(fs::exists(continuation)) << "the run is over, its state must go";
    EXPECT_FALSE(fs::exists(failures)) << "the run is over, its failures must go";
    EXPECT_EQ(RunOnceValue(), std::nullopt);

    // Both halves in the one log.
    const std::vector<std::string> log = InstallLogRecords();
    const std::vector<std::string> expected = {
        PackageText(1, release.packages[0], Installed(0)),
        PackageText(2, release.packages[1], Failed(kInstallFailure)),
        PackageText(3, release.packages[2], Installed(0)),
        PackageText(4, release.packages[3], NeedsRestart(kRebootRequired)),
        PackageText(5, release.packages[4], Installed(0)),
    };
    EXPECT_EQ(PackageTexts(log), expected) << ReadFile(InstallLog());
    EXPECT_EQ(TextsStartingWith(log, "Start: Installer ").size(), 2u) << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, kRestartRequested), 1) << ReadFile(InstallLog());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(RecordText(log.back()), RunEnd(1603)) << ReadFile(InstallLog());
  });
}

// --- /norestart ---

TEST_F(Outcome, NoRestartStopsAtANeededRestartWith3010AndTheLogonGoesOn) {
  InstallRelease release = ProbeRelease(2);
  const std::vector<std::string> first = {"KB1.exe"};
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    SetExitCodes(exe, release, JournalOf(folder), {kRebootRequired, 0});
    const fs::path continuation = exe.parent_path() / "rir_eridivu";
    WineProgram sentinel = StartSentinel();
    WineProgram installer = wine().Start(exe.string(), {"/silent", "/norestart"});

    const BoxWatch watch = WatchForBoxes(installer, "", seconds(90));
    EXPECT_EQ(watch.box, "") << "a silent run showed a message";
    ASSERT_TRUE(watch.reached) << "the run did not end by itself within 90 s";
    const RunResult stopped = installer.Wait(seconds(5));
    ASSERT_FALSE(stopped.timed_out);
    EXPECT_EQ(stopped.signal, 0);
    EXPECT_EQ(stopped.exit_code, AsUnix(kRebootRequired));
    EXPECT_FALSE(SessionEnded(sentinel, seconds(3))) << "a restart was requested";

    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), first);
    const std::vector<std::string> state = Lines(ReadFile(continuation), '\n');
    ASSERT_EQ(state.size(), 7u) << ReadFile(continuation);  // six lines and the empty rest
    EXPECT_EQ(state[0], "2\r");
    EXPECT_EQ(state[5], "1\r") << "the continuation does not name package 2";
    const std::optional<std::string> command = RunOnceValue();
    ASSERT_EQ(command, RunOnceCommand(exe, " /norestart"));
    std::vector<std::string> log = InstallLogRecords();
    EXPECT_EQ(PackageTexts(log), std::vector<std::string>{PackageText(
                                     1, release.packages[0], NeedsRestart(kRebootRequired))})
        << ReadFile(InstallLog());
    EXPECT_EQ(Occurrences(log, kRestartRequested), 0) << ReadFile(InstallLog());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(RecordText(log.back()), RunEnd(3010)) << ReadFile(InstallLog());

    // The administrator's restart and the logon: the switch goes on with the run.
    ForgetRunOnce();
    WineProgram logon = StartRunOnce(*command);
    const BoxWatch rest = WatchForBoxes(logon, "", seconds(90));
    EXPECT_EQ(rest.box, "") << "a continued run showed a message";
    ASSERT_TRUE(rest.reached) << "the continued run did not end by itself within 90 s";
    const RunResult end = logon.Wait(seconds(5));
    ASSERT_FALSE(end.timed_out);
    EXPECT_EQ(end.exit_code, 0);
    EXPECT_FALSE(SessionEnded(sentinel, seconds(1))) << "a restart was requested";
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
    EXPECT_FALSE(fs::exists(continuation)) << "the run is over, its state must go";
    EXPECT_EQ(RunOnceValue(), std::nullopt);
    log = InstallLogRecords();
    EXPECT_EQ(PackageTexts(log).back(), PackageText(2, release.packages[1], Installed(0)));
    EXPECT_EQ(RecordText(log.back()), RunEnd(0)) << ReadFile(InstallLog());
  });
}

// --- Another program refuses the end of the session ---

// Seconds since midnight of a record's time, "YYYY-MM-DD HH:MM:SS  ...".
int SecondsOf(const std::string& record) {
  return std::stoi(record.substr(11, 2)) * 3600 + std::stoi(record.substr(14, 2)) * 60 +
         std::stoi(record.substr(17, 2));
}

// A program with unsaved work vetoes the restart that the hand-over asked for. Nobody watches
// a silent run: it ends by itself, soon, with 3010, and the continuation waits for the next
// restart of the computer.
TEST_F(Outcome, RestartVetoedByAnotherProgramEndsTheSilentRunWith3010AndKeepsItsContinuation) {
  InstallRelease release = ProbeRelease(3);
  release.packages[0].restart = true;
  RetryOnLostStart(release.ProbeNames(), {"KB1.exe"}, [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    WineProgram veto = wine().Start(WindowsProgram("veto_window.exe").string(), {});
    const DriverRun shown = Drive({WaitFor("VetoWindow", 30000)});
    ASSERT_TRUE(shown.ok()) << shown.Report();
    WineProgram installer = wine().Start(exe.string(), {"/silent"});
    const RunResult end = installer.Wait(seconds(90));
    const DriverRun asked = Drive({CaptionOf("VetoWindow")});
    veto.Kill();
    const std::optional<std::string> command = RunOnceValue();
    ForgetRunOnce();
    ASSERT_FALSE(end.timed_out) << "the silent run did not end by itself";
    EXPECT_EQ(end.exit_code, AsUnix(kRebootRequired));
    ASSERT_TRUE(asked.ok()) << asked.Report();
    EXPECT_EQ(asked.Value(CaptionOf("VetoWindow")), "Vetoed 1") << "the restart was not asked for";

    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), std::vector<std::string>{"KB1.exe"});
    EXPECT_EQ(ReadFile(exe.parent_path() / "rir_eridivu"), "3\r\n1\r\n0\r\n0\r\n0\r\n1\r\n2\r\n");
    EXPECT_EQ(command, RunOnceCommand(exe)) << "the continuation must stay for the next logon";

    const std::vector<std::string> log = InstallLogRecords();
    const std::string text = ReadFile(InstallLog());
    ASSERT_EQ(TextsStartingWith(log, kRestartRequested).size(), 1u) << text;
    // Wine tells the installer nothing when the other program was asked first: then the wait
    // for the end of the session runs out.
    EXPECT_EQ(Occurrences(log, "Ein anderes Programm hat das Ende der Sitzung verhindert") +
                  Occurrences(log,
                              "Der Neustart hat die Sitzung nach 20 Sekunden nicht beendet; wohl "
                              "hat ein anderes Programm ihn verhindert"),
              1)
        << text;
    EXPECT_EQ(TextsStartingWith(log, "Unbeaufsichtigt, niemand wartet auf eine Antwort: ").size(),
              1u)
        << text;
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(RecordText(log.back()), RunEnd(3010)) << text;
    const auto requested = std::find_if(log.begin(), log.end(), [](const std::string& record) {
      return RecordText(record) == kRestartRequested;
    });
    EXPECT_LE(SecondsOf(log.back()) - SecondsOf(*requested), 30) << text;
  });
}

// --- /log, and the release's own words for failures ---

TEST_F(Outcome, LogSwitchWritesTheLogThereAndTheReleaseWordsNameTheFailures) {
  InstallRelease release = ProbeRelease(3);
  const std::vector<std::string> ran = {"KB1.exe", "KB2.exe"};  // KB3.exe is missing
  const std::string log_folder = "C:\\e2e Protokolle";
  const std::string log_file = log_folder + "\\mein Protokoll.log";
  const std::string word78 = "Nicht alles ließ sich installieren:";
  const std::string word79 = "Rückgabewert";
  const std::string word80 = "nicht ausgeführt";
  RetryOnLostStart(ran, ran, [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path log = wine().ToLinuxPath(log_file);
    fs::remove_all(log.parent_path());
    fs::create_directories(log.parent_path());
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    SetExitCodes(exe, release, JournalOf(folder), {0, 5, 0});
    fs::remove(exe.parent_path() / "Data" / "KB3.exe");
    std::ofstream(exe.parent_path() / "Data" / "Language.ini", std::ios::binary | std::ios::app)
        << ToWindows1252("078=" + word78 + "\r\n079=" + word79 + "\r\n080=" + word80 + "\r\n");

    WineProgram installer = wine().Start(exe.string(), {"/silent", "/log:" + log_file});
    const DriverRun finish =
        Drive({WaitFor("TFEnde", 60000), TextOf("TFEnde", "LHinweis"), TextOf("TFEnde", "LText")});
    wine().Screenshot("Outcome-release-words-for-failures");
    ASSERT_TRUE(finish.ok()) << finish.Report();
    EndFinishedSilentRunWithoutRestart();
    const RunResult end = installer.Wait(seconds(10));
    EXPECT_FALSE(end.timed_out);
    EXPECT_EQ(end.exit_code, AsUnix(kInstallFailure));
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), ran);

    EXPECT_EQ(finish.Value(TextOf("TFEnde", "LHinweis")), word78);
    const std::vector<std::string> lines = Lines(finish.Value(TextOf("TFEnde", "LText")), '\r');
    ASSERT_GE(lines.size(), 3u) << finish.Value(TextOf("TFEnde", "LText"));
    EXPECT_EQ(lines[0], word78);
    EXPECT_EQ(lines[1], "- " + release.packages[1].Name() + " (" + word79 + " 5)");
    const std::string not_started = "- " + release.packages[2].Name() + " (" + word80 + ": ";
    EXPECT_EQ(lines[2].substr(0, not_started.size()), not_started) << lines[2];
    EXPECT_GT(lines[2].size(), not_started.size() + 1) << "no reason given";
    EXPECT_EQ(lines[2].back(), ')');

    EXPECT_FALSE(fs::exists(InstallLog())) << "the log went to its default place as well";
    const std::vector<std::string> records = LogRecords(log);
    ASSERT_FALSE(records.empty()) << "no log at " << log_file;
    EXPECT_EQ(RecordText(records.front()).rfind("Start: Installer ", 0), 0u) << ReadFile(log);
    EXPECT_NE(RecordText(records.front()).find("/log:" + log_file), std::string::npos)
        << ReadFile(log);
    const std::string release_line = "Release " + release.texts.name + " 1.2.3, 3 Pakete, ";
    EXPECT_EQ(TextsStartingWith(records, release_line).size(), 1u) << ReadFile(log);
    const std::vector<std::string> packages = PackageTexts(records);
    ASSERT_EQ(packages.size(), 3u) << ReadFile(log);
    EXPECT_EQ(packages[0], PackageText(1, release.packages[0], Installed(0)));
    EXPECT_EQ(packages[1], PackageText(2, release.packages[1], Failed(5)));
    // The same reason as on the finish page.
    const std::string reason =
        lines[2].substr(not_started.size(), lines[2].size() - not_started.size() - 1);
    EXPECT_EQ(packages[2], PackageText(3, release.packages[2], "nicht gestartet: " + reason));
    EXPECT_EQ(RecordText(records.back()), RunEnd(1603)) << ReadFile(log);
    fs::remove_all(log.parent_path());
  });
}

TEST_F(Outcome, FinishPageNamesFiveFailuresAndCutsTheRest) {
  const InstallRelease release = ProbeRelease(7);
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    SetExitCodes(exe, release, JournalOf(folder), {11, 12, 13, 14, 15, 16, 17});
    WineProgram installer = wine().Start(exe.string(), {"/silent"});
    const DriverRun finish = Drive({WaitFor("TFEnde", 60000), TextOf("TFEnde", "LText")});
    ASSERT_TRUE(finish.ok()) << finish.Report();
    EndFinishedSilentRunWithoutRestart();
    const RunResult end = installer.Wait(seconds(10));
    EXPECT_FALSE(end.timed_out);
    EXPECT_EQ(end.exit_code, AsUnix(kInstallFailure));
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());

    std::string listed = std::string(kSomeFailed) + "\r";
    for (int i = 0; i < 5; ++i)
      listed += "- " + release.packages[i].Name() + " (" + kErrorCode + " " +
                std::to_string(11 + i) + ")\r";
    listed += "…\r";
    const std::string text = finish.Value(TextOf("TFEnde", "LText"));
    EXPECT_EQ(text.substr(0, listed.size()), listed) << text;
    EXPECT_EQ(text.find(release.packages[5].Name()), std::string::npos) << text;
  });
}

// --- An update that does not apply to the system ---

// No failure: listed apart on the finish page and in the log, and the run ends with 0.
TEST_F(Outcome, NotApplicableUpdateIsListedApartAndTheRunEndsWithZero) {
  const InstallRelease release = ProbeRelease(3);
  const std::string not_applicable = "nicht zutreffend";  // word 113, built in
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    SetExitCodes(exe, release, JournalOf(folder), {0, kNotApplicable, 0});
    WineProgram installer = wine().Start(exe.string(), {"/silent"});
    const DriverRun finish =
        Drive({WaitFor("TFEnde", 60000), TextOf("TFEnde", "LHinweis"), TextOf("TFEnde", "LText")});
    wine().Screenshot("Outcome-not-applicable");
    ASSERT_TRUE(finish.ok()) << finish.Report();
    EndFinishedSilentRunWithoutRestart();
    const RunResult end = installer.Wait(seconds(10));
    EXPECT_FALSE(end.timed_out);
    EXPECT_EQ(end.exit_code, 0);
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());

    EXPECT_EQ(finish.Value(TextOf("TFEnde", "LHinweis")), Word(release::kWordCompleted));
    const std::vector<std::string> lines = Lines(finish.Value(TextOf("TFEnde", "LText")), '\r');
    ASSERT_GE(lines.size(), 2u) << finish.Value(TextOf("TFEnde", "LText"));
    EXPECT_EQ(lines[0], "- " + release.packages[1].Name() + " (" + not_applicable + ")");
    EXPECT_EQ(lines[1], "");
    int named = 0;
    for (const std::string& line : lines) named += line.rfind("- ", 0) == 0;
    EXPECT_EQ(named, 1) << finish.Value(TextOf("TFEnde", "LText"));

    const std::vector<std::string> log = InstallLogRecords();
    const std::vector<std::string> expected = {
        PackageText(1, release.packages[0], Installed(0)),
        PackageText(2, release.packages[1], WithCode(not_applicable, kNotApplicable)),
        PackageText(3, release.packages[2], Installed(0)),
    };
    EXPECT_EQ(PackageTexts(log), expected) << ReadFile(InstallLog());
    EXPECT_EQ(TextsStartingWith(log, "Nicht zutreffend für dieses System: "),
              std::vector<std::string>{"Nicht zutreffend für dieses System: " +
                                       release.packages[1].Name()})
        << ReadFile(InstallLog());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(RecordText(log.back()), RunEnd(0)) << ReadFile(InstallLog());
  });
}

// --- A real MSI installed twice ---

struct Classified {
  std::string outcome;  // the log's words for the package
  int program_exit = 0;
};

// How a run of one package classifies the package's exit code.
Classified Classify(long long code) {
  if (code == 0) return {Installed(0), 0};
  if (code == kRebootRequired || code == 3011 || code == kWusaRestart)
    return {NeedsRestart(code), kRebootRequired};
  if (code == kRebootInitiated)
    return {WithCode("installiert, das Paket startet den Computer neu", 1641), kRebootInitiated};
  if (code == kWusaInstalled) return {WithCode("bereits installiert", code), 0};
  return {Failed(code), kInstallFailure};
}

// The N of "..., Exitcode N (0x...)" at the end of a log text; nothing when it has none.
std::optional<long long> ExitCodeIn(const std::string& text) {
  const std::string mark = ", Exitcode ";
  const std::size_t at = text.rfind(mark);
  if (at == std::string::npos || text.back() != ')') return std::nullopt;
  const std::size_t start = at + mark.size();
  const std::string digits = text.substr(start, text.find(' ', start) - start);
  if (digits.empty() || digits.find_first_not_of("-0123456789") != std::string::npos)
    return std::nullopt;
  return std::stoll(digits);
}

TEST_F(Outcome, SameMsiInstalledTwiceIsLoggedAndEndsAsItsExitCodeSays) {
  InstallRelease release;
  release.packages = {{"Testpaket.msi", "/qn"}};
  RetryOnLostStart({}, {}, [&](const fs::path& folder) {
    TestMsi msi(wine(), folder / "Testpaket.msi");
    fs::remove(msi.InstalledFile());  // an earlier run may have left it
    release.packages[0].source = msi.path();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    // msiexec's verbose log, beside the install log.
    const std::string package_log = "C:\\ProgramData\\UpdatePackages\\Testpaket.msi.log";
    fs::remove(wine().ToLinuxPath(package_log));

    std::optional<long long> second_code;
    for (int run = 1; run <= 2; ++run) {
      SCOPED_TRACE("silent run " + std::to_string(run));
      ForgetInstallLog();
      WineProgram installer = wine().Start(exe.string(), {"/silent", "/norestart"});
      const BoxWatch watch = WatchForBoxes(installer, "", seconds(120));
      EXPECT_EQ(watch.box, "") << "a silent run showed a message";
      ASSERT_TRUE(watch.reached) << "the run did not end by itself within 120 s";
      const RunResult end = installer.Wait(seconds(5));
      ASSERT_FALSE(end.timed_out);

      const std::vector<std::string> log = InstallLogRecords();
      const std::vector<std::string> packages = PackageTexts(log);
      ASSERT_EQ(packages.size(), 1u) << ReadFile(InstallLog());
      const std::optional<long long> code = ExitCodeIn(packages[0]);
      ASSERT_TRUE(code) << "no exit code in '" << packages[0] << "'";
      const Classified expected = Classify(*code);
      std::cerr << "e2e: msiexec run " << run << " of the test MSI ended with " << *code
                << std::endl;
      EXPECT_EQ(packages[0], PackageText(1, release.packages[0], expected.outcome));
      EXPECT_EQ(end.exit_code, AsUnix(expected.program_exit));
      EXPECT_EQ(RecordText(log.back()), RunEnd(expected.program_exit)) << ReadFile(InstallLog());
      EXPECT_EQ(TextsStartingWith(log, "Protokoll des Pakets: "),
                std::vector<std::string>{"Protokoll des Pakets: " + package_log})
          << ReadFile(InstallLog());
      if (run == 1) {
        EXPECT_EQ(*code, 0) << "the first install failed";
        EXPECT_TRUE(fs::exists(msi.InstalledFile())) << "the MSI package was not installed";
        EXPECT_TRUE(fs::exists(wine().ToLinuxPath(package_log))) << "msiexec wrote no log";
      } else {
        second_code = code;
      }
    }
    // The code the installer read is the one msiexec gives for the same install.
    ASSERT_TRUE(second_code);
    const RunResult direct = wine().Run("msiexec", {"/i", ToWindowsPath(msi.path()), "/qn"});
    ASSERT_FALSE(direct.timed_out);
    EXPECT_EQ(direct.exit_code, AsUnix(*second_code));

    // A file that is no Windows Installer package fails, and the run says so.
    const fs::path broken = folder / "Kaputt.msi";
    std::ofstream(broken, std::ios::binary) << "kein Paket\r\n";
    InstallRelease failing;
    failing.packages = {{"Kaputt.msi", "/qn"}};
    failing.packages[0].source = broken;
    const fs::path failing_exe =
        MakeInstallRelease(folder / "failing", failing, probe(), JournalOf(folder));
    ForgetInstallLog();
    WineProgram installer = wine().Start(failing_exe.string(), {"/silent", "/norestart"});
    const BoxWatch watch = WatchForBoxes(installer, "", seconds(120));
    EXPECT_EQ(watch.box, "") << "a silent run showed a message";
    ASSERT_TRUE(watch.reached) << "the run did not end by itself within 120 s";
    const RunResult end = installer.Wait(seconds(5));
    ASSERT_FALSE(end.timed_out);
    const std::vector<std::string> packages = PackageTexts(InstallLogRecords());
    ASSERT_EQ(packages.size(), 1u) << ReadFile(InstallLog());
    const std::optional<long long> code = ExitCodeIn(packages[0]);
    ASSERT_TRUE(code) << "no exit code in '" << packages[0] << "'";
    std::cerr << "e2e: msiexec ended with " << *code << " for a file that is no MSI" << std::endl;
    EXPECT_EQ(packages[0], PackageText(1, failing.packages[0], Failed(*code)));
    EXPECT_EQ(end.exit_code, AsUnix(kInstallFailure));
  });
}

// --- /? ---

TEST_F(Outcome, UsageSwitchShowsTheSwitchesAndEndsWithZero) {
  const InstallRelease release = ProbeRelease(1);
  const std::vector<std::vector<std::string>> starts = {{"/?"}, {"/help"}, {"/silent", "/?"}};
  RetryOnLostStart({}, {}, [&](const fs::path& folder) {
    ForgetInstallLog();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    for (const std::vector<std::string>& arguments : starts) {
      SCOPED_TRACE("started with " + arguments.back() + " after " +
                   std::to_string(arguments.size() - 1) + " other argument(s)");
      WineProgram installer = wine().Start(exe.string(), arguments);
      const DriverRun box =
          Drive({WaitFor("TMessageForm", 30000), TextOf("TMessageForm", "Message"),
                 IsShown("TFWillkommen"), IsShown("TFKopieren")});
      wine().Screenshot("Outcome-usage");
      ASSERT_TRUE(box.ok()) << box.Report();
      const std::string usage = box.Value(TextOf("TMessageForm", "Message"));
      const std::string synopsis = "Installer.exe [/silent] [/norestart] [/log:Datei]";
      EXPECT_EQ(usage.substr(0, synopsis.size()), synopsis) << usage;
      for (const char* part : {"/norestart", "/log:Datei", "3010", "1641", "1602", "1603", "1618"})
        EXPECT_NE(usage.find(part), std::string::npos) << part << " missing in:\n" << usage;
      EXPECT_EQ(box.Value(IsShown("TFWillkommen")), "0");
      EXPECT_EQ(box.Value(IsShown("TFKopieren")), "0");
      EXPECT_TRUE(installer.Running()) << "the program did not wait for OK";

      const DriverRun ok = Drive({Click("TMessageForm", "OK")});
      ASSERT_TRUE(ok.ok()) << ok.Report();
      const RunResult end = installer.Wait(seconds(10));
      EXPECT_FALSE(end.timed_out) << "OK did not end the program";
      EXPECT_EQ(end.exit_code, 0);
    }
    EXPECT_TRUE(ReadProbeJournal(JournalOf(folder)).empty()) << "a package ran";
    EXPECT_FALSE(fs::exists(exe.parent_path() / "rir_eridivu"));
  });
}

// --- The record for deployment tools ---

// UTF-8 of UTF-16LE text (no surrogate pairs).
std::string Utf8OfUtf16(const std::string& bytes) {
  std::string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned unit = static_cast<unsigned char>(bytes[i]) |
                          static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    if (unit < 0x80) {
      text += static_cast<char>(unit);
    } else if (unit < 0x800) {
      text += static_cast<char>(0xC0 | unit >> 6);
      text += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      text += static_cast<char>(0xE0 | unit >> 12);
      text += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
      text += static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  return text;
}

// The bytes of a value written as "hex(7):41,00,..." in a .reg file, over continued lines.
std::string HexBytes(const std::string& reg_text, const std::string& prefix) {
  std::size_t at = reg_text.find(prefix);
  if (at == std::string::npos) return {};
  std::string bytes;
  for (at += prefix.size(); at + 1 < reg_text.size();) {
    if (std::isxdigit(static_cast<unsigned char>(reg_text[at]))) {
      bytes += static_cast<char>(std::stoi(reg_text.substr(at, 2), nullptr, 16));
      at += 2;
    } else if (reg_text[at] == ',' || reg_text[at] == ' ' ||
               reg_text.compare(at, 3, "\\\r\n") == 0) {
      at += reg_text[at] == '\\' ? 3 : 1;
    } else {
      break;
    }
  }
  return bytes;
}

// The record of a release named so: a key's name can't hold "\".
const char kRecordedRelease[] = "Record\\Wine";
const char kRecordKey[] = "HKLM\\SOFTWARE\\UpdatePackages\\Record_Wine";

class Record : public Outcome {
 protected:
  static InstallRelease RecordedRelease(int count) {
    InstallRelease release = ProbeRelease(count);
    release.texts.name = kRecordedRelease;
    return release;
  }
  void ForgetRecord() { wine().Run("reg", {"delete", kRecordKey, "/f"}); }
  std::optional<std::string> Value(const std::string& name, const std::string& type) {
    return QueryRegistryValue(wine(), kRecordKey, name, type);
  }
  std::optional<std::string> Number(const std::string& name) { return Value(name, "REG_DWORD"); }
  // The texts of a REG_MULTI_SZ value, from `reg export`: `reg query` shows them in the OEM
  // code page, which turns the "ü" of the packages' names into another character.
  std::vector<std::string> Texts(const std::string& name) {
    const fs::path file = work_dir() / "record.reg";
    wine().Run("reg", {"export", kRecordKey, ToWindowsPath(file), "/y"});
    const std::string list =
        Utf8OfUtf16(HexBytes(Utf8OfUtf16(ReadFile(file)), "\"" + name + "\"=hex(7):"));
    std::vector<std::string> texts = Lines(list, '\0');
    if (texts.size() < 2 || !texts.back().empty() || !texts[texts.size() - 2].empty()) {
      ADD_FAILURE() << name << " is no list of texts closed by an empty one: " << list;
      return {};
    }
    texts.resize(texts.size() - 2);
    return texts;
  }

  // "/silent /norestart" and the like: the run ends by itself, without a box, with `code`.
  void RunToItsEnd(const fs::path& exe, const std::vector<std::string>& arguments, long long code) {
    WineProgram installer = wine().Start(exe.string(), arguments);
    const BoxWatch watch = WatchForBoxes(installer, "", seconds(90));
    EXPECT_EQ(watch.box, "") << "an unattended run showed a message";
    ASSERT_TRUE(watch.reached) << "the run did not end by itself within 90 s";
    const RunResult end = installer.Wait(seconds(5));
    ASSERT_FALSE(end.timed_out);
    EXPECT_EQ(end.exit_code, AsUnix(code));
  }
};

TEST_F(Record, CompleteRunRecordsTheVersionAndExitCode0) {
  const InstallRelease release = RecordedRelease(2);
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetRecord();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    RunToItsEnd(exe, {"/silent", "/norestart"}, 0);
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
    EXPECT_EQ(Value("Version", "REG_SZ"), "1.2.3");
    EXPECT_EQ(Number("ExitCode"), "0x0");
    EXPECT_EQ(Texts("FailedPackages"), std::vector<std::string>{});
    EXPECT_EQ(Number("ContinuationPending"), "0x0");
    const std::optional<std::string> ended = Value("Ended", "REG_SZ");
    ASSERT_TRUE(ended);
    EXPECT_TRUE(std::regex_match(*ended, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
        << *ended;
  });
}

TEST_F(Record, FailedRunRecords1603AndNamesThePackage) {
  const InstallRelease release = RecordedRelease(3);
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetRecord();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    SetExitCodes(exe, release, JournalOf(folder), {0, kInstallFailure, 0});
    RunToItsEnd(exe, {"/silent", "/norestart"}, kInstallFailure);
    EXPECT_EQ(Number("ExitCode"), "0x643");
    EXPECT_EQ(Texts("FailedPackages"), std::vector<std::string>{release.packages[1].Name()});
    EXPECT_EQ(Number("ContinuationPending"), "0x0");
  });
}

// "/norestart" stops the run at a restart that package 1 demands; the administrator's restart
// and the logon (played here) go on with package 2.
TEST_F(Record, ContinuationIsPendingUntilTheContinuedRunEnds) {
  const InstallRelease release = RecordedRelease(2);
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& folder) {
    ForgetRecord();
    const fs::path exe =
        MakeInstallRelease(folder / "release", release, probe(), JournalOf(folder));
    SetExitCodes(exe, release, JournalOf(folder), {kRebootRequired, 0});
    RunToItsEnd(exe, {"/silent", "/norestart"}, kRebootRequired);
    ASSERT_TRUE(fs::exists(exe.parent_path() / "rir_eridivu"));
    EXPECT_EQ(Number("ExitCode"), "0xbc2");
    EXPECT_EQ(Number("ContinuationPending"), "0x1");

    ForgetRunOnce();
    RunToItsEnd(exe, {"/norestart"}, 0);
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(folder))), release.ProbeNames());
    EXPECT_EQ(Number("ExitCode"), "0x0");
    EXPECT_EQ(Number("ContinuationPending"), "0x0");
    EXPECT_EQ(Value("Version", "REG_SZ"), "1.2.3");
  });
}

}  // namespace
}  // namespace e2e
