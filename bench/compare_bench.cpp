// Installer.exe against its floors and a peer, measured side by side in one run under Wine:
//  (a) start until the first page is visible (driver.exe launch, timed inside Wine): the
//      installer's welcome page against a bare program that shows one empty window (the floor),
//      the same program with the common controls of version 6 and one push button (the floor a
//      themed wizard can reach) and the peer's welcome page;
//  (b) the cost per package with the installation page shown: 200 no-op probe packages, each
//      appending a line to a journal that is watched from Linux; the time from the first line
//      to the last, over the 199 steps between them. The floor is process_loop.exe, which starts
//      and waits for the same programs and does nothing else (also with a thread per program);
//  (c) the peak memory of each process during (b), from its start until the last package
//      started: its working set (the kernel's high-water mark of its resident set) and its
//      private bytes (the largest anonymous resident and swapped size seen, sampled every 10 ms);
//      what a program does after its packages (the installer's finish page) is left out. The
//      installer's figures are checked against Windows' own count: on its finish page, the
//      peak working set and private bytes that GetProcessMemoryInfo reports under Wine (driver.exe
//      memory) beside /proc read at the same moment.
// The peer: installers that Debian's makensis builds in this run (Modern UI 2, amd64-unicode),
// one with its welcome page, one that runs the packages with ExecWait on its installation page.
// Subjects take turns, so that a slow phase of the machine weighs on all alike.
//
// Needs the win64 build (Installer.exe, probe.exe, driver.exe, bare_window.exe,
// themed_window.exe, process_loop.exe) and makensis. Usage (scripts/bench.sh runs it and keeps
// the table):
//   build/native/bench/compare_bench [runs] [table.md]    (default 5 runs, after one warm-up)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "harness/install_release.h"
#include "harness/release_folder.h"
#include "harness/ui_driver.h"
#include "harness/wine_harness.h"
#include "peer_installer.h"
#include "process_memory.h"
#include "sample_figures.h"

namespace {

using e2e::fs::path;
using Clock = std::chrono::steady_clock;

constexpr int kPackages = 200;
constexpr auto kMemorySampleGap = std::chrono::milliseconds(10);

struct Samples {
  std::vector<double> values;
  double Median() const { return bench::Median(values); }
  double Min() const { return bench::Percentile(values, 0.0); }
};

struct StartSubject {
  std::string label;
  path program;
  std::string form;  // the window class whose appearance ends the measurement
  Samples ms;
};

struct SequenceSubject {
  std::string label;
  path program;
  std::vector<std::string> args;
  bool installer = false;  // ends on its finish page, which waits; the others end by themselves
  Samples ms_per_package, working_set_mb, private_mb;
  // The installer on its finish page: as GetProcessMemoryInfo and as /proc count it.
  Samples api_working_set_mb, proc_working_set_mb, api_private_mb, proc_private_mb;
};

std::string Number(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%03d", n);
  return text;
}

// --- (a) start until the first page --------------------------------------------------------

path StartRelease(const path& folder, int packages) {
  e2e::ReleaseSettings settings;
  settings.packages = packages;
  if (packages > 3) {
    for (int i = 1; i <= 40; ++i) settings.pre_install.push_back("Vorwort, Zeile " + Number(i));
    for (int i = 1; i <= 40; ++i) settings.post_install.push_back("Nachwort, Zeile " + Number(i));
    for (int i = 1; i <= 200; ++i) settings.license.push_back("Lizenz, Zeile " + Number(i));
  }
  e2e::ReleaseFiles files;
  files.settings = settings.Text();
  return e2e::MakeRelease(folder, files);
}

double LaunchOnce(e2e::WineSession& wine, const StartSubject& subject) {
  const std::string launch =
      "launch " + e2e::ToWindowsPath(subject.program) + " " + subject.form + " 60000";
  const e2e::DriverRun run = e2e::Drive(wine, {launch, "kill"});
  if (!run.ok()) throw std::runtime_error(subject.label + ": " + run.Report());
  return std::stod(run.Value(launch));
}

// --- (b) and (c) the packages --------------------------------------------------------------

std::size_t LineCount(const path& file) {
  std::ifstream in(file, std::ios::binary);
  std::size_t lines = 0;
  for (char c; in.get(c);) lines += c == '\n';
  return lines;
}

// Milliseconds per step between journal lines, from the first line to the last, polled every
// millisecond by the file's size, while the program's memory is sampled. A start that Wine lost
// (error 1359) leaves one line out: the watch ends when no line has come for five seconds.
double WatchJournal(const path& journal, pid_t pid, bench::MemoryPeak& memory) {
  std::uintmax_t size = 0;
  std::size_t lines = 0;
  Clock::time_point first, last = Clock::now(), sampled;
  while (lines < kPackages && Clock::now() - last < std::chrono::seconds(5)) {
    if (Clock::now() - sampled >= kMemorySampleGap) {
      memory.Sample(pid);
      sampled = Clock::now();
    }
    std::error_code missing;
    const std::uintmax_t now_size = e2e::fs::file_size(journal, missing);
    if (!missing && now_size != size) {
      size = now_size;
      last = Clock::now();
      if (lines == 0) first = last;
      lines = LineCount(journal);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (lines < 2) throw std::runtime_error("the journal " + journal.string() + " stays empty");
  if (lines != kPackages) std::cerr << lines << " of " << kPackages << " probes ran" << std::endl;
  return std::chrono::duration<double, std::milli>(last - first).count() /
         static_cast<double>(lines - 1);
}

struct PackageRun {
  double ms_per_package;
  bench::MemoryPeak memory;
  bench::MemoryPeak proc_on_finish;  // the installer's only
  // KB: peak working set, working set, private bytes, peak private bytes
  std::vector<double> api_on_finish;
};

double Megabytes(std::uint64_t bytes) {
  return static_cast<double>(bytes) / (1 << 20);
}

// The installer's memory on its finish page, as the program sees it through the Windows API and
// as Linux counts it, read one after the other.
void ReadFinishMemory(e2e::WineSession& wine, pid_t pid, PackageRun& run) {
  const e2e::DriverRun memory = e2e::Drive(wine, {"memory TFEnde"});
  if (!memory.ok()) throw std::runtime_error("memory: " + memory.Report());
  run.proc_on_finish.Sample(pid);
  std::istringstream figures(memory.Value("memory TFEnde"));
  for (double kb; figures >> kb;) run.api_on_finish.push_back(kb);
  if (run.api_on_finish.size() != 4) throw std::runtime_error("memory: " + memory.Report());
}

PackageRun RunPackagesOnce(e2e::WineSession& wine, const SequenceSubject& subject,
                           const path& journal) {
  e2e::fs::remove(journal);
  e2e::WineProgram program = wine.Start(subject.program.string(), subject.args);
  PackageRun run{};
  run.ms_per_package = WatchJournal(journal, program.pid(), run.memory);
  if (subject.installer) {
    const e2e::DriverRun finish = e2e::Drive(wine, {e2e::WaitFor("TFEnde", 60000)});
    if (!finish.ok()) throw std::runtime_error(subject.label + ": " + finish.Report());
    ReadFinishMemory(wine, program.pid(), run);
    program.Kill();  // before the countdown asks for the restart
  } else if (program.Wait(std::chrono::minutes(1)).exit_code != 0) {
    throw std::runtime_error(subject.label + " failed");
  }
  return run;
}

void Record(SequenceSubject& subject, const PackageRun& run) {
  subject.ms_per_package.values.push_back(run.ms_per_package);
  subject.working_set_mb.values.push_back(Megabytes(run.memory.working_set));
  subject.private_mb.values.push_back(Megabytes(run.memory.private_bytes));
  if (run.api_on_finish.empty()) return;
  subject.api_working_set_mb.values.push_back(run.api_on_finish[0] / 1024);
  subject.api_private_mb.values.push_back(run.api_on_finish[2] / 1024);
  subject.proc_working_set_mb.values.push_back(Megabytes(run.proc_on_finish.working_set));
  subject.proc_private_mb.values.push_back(Megabytes(run.proc_on_finish.private_bytes));
}

std::vector<SequenceSubject> PrepareSequence(e2e::WineSession& wine, const path& work,
                                             const path& journal) {
  e2e::InstallRelease release;
  for (int i = 1; i <= kPackages; ++i) release.packages.emplace_back("KB" + Number(i) + ".exe", "");
  const path installer =
      e2e::MakeInstallRelease(work / "release", release, e2e::WindowsProgram("probe.exe"), journal);
  std::vector<std::string> programs;
  const path list = work / "programs.txt";
  std::ofstream out(list, std::ios::binary);
  for (const e2e::TestPackage& package : release.packages) {
    programs.push_back(e2e::ToWindowsPath(installer.parent_path() / "Data" / package.file));
    out << programs.back() << "\r\n";
  }
  const path loop = e2e::WindowsProgram("process_loop.exe");
  const std::string listed = e2e::ToWindowsPath(list);
  const auto subject = [](std::string label, path program, std::vector<std::string> args,
                          bool installer) {
    SequenceSubject made;
    made.label = std::move(label);
    made.program = std::move(program);
    made.args = std::move(args);
    made.installer = installer;
    return made;
  };
  return {subject("process_loop (floor)", loop, {listed}, false),
          subject("process_loop, a thread per program", loop, {listed, "thread"}, false),
          subject("NSIS peer, ExecWait", bench::MakeSequencePeer(wine, work / "peer", programs), {},
                  false),
          subject("Installer, /silent", installer, {"/silent"}, true)};
}

// --- the table ------------------------------------------------------------------------------

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// "0.85 (0.80)": the ratio of the medians, that of the minimums in brackets.
std::string Ratio(const Samples& of, const Samples& to) {
  return Fixed(of.Median() / to.Median(), 2) + " (" + Fixed(of.Min() / to.Min(), 2) + ")";
}

class Table {
 public:
  void Section(const std::string& title) { text_ << "| **" << title << "** | | | | | |\n"; }
  void Row(const std::string& label, const Samples& s, int decimals, const std::string& to_floor,
           const std::string& to_peer, const std::string& target = "") {
    text_ << "| " << label << " | " << Fixed(s.Median(), decimals) << " | "
          << Fixed(s.Min(), decimals) << " | " << to_floor << " | " << to_peer << " | " << target
          << " |\n";
  }
  void Line(const std::string& line) { text_ << line << "\n"; }
  std::string Text() const { return text_.str(); }

 private:
  std::ostringstream text_;
};

std::string Verdict(bool met) {
  return met ? "met" : "**missed**";
}

// The installer against the themed floor, by the medians and by the minimums.
std::string ThemedTarget(const Samples& installer, const Samples& themed) {
  const double limit = 1.15;
  const bool met =
      installer.Median() <= limit * themed.Median() && installer.Min() <= limit * themed.Min();
  return "≤ 1.15 × themed floor, " + Ratio(installer, themed) + ": " + Verdict(met);
}

void StartRows(Table& table, const std::vector<StartSubject>& s) {
  const StartSubject &floor = s[0], &themed = s[1], &peer = s[2], &installer = s[3];
  table.Section("Start until the first page is visible, ms");
  table.Row(floor.label, floor.ms, 1, "1", "");
  table.Row(themed.label, themed.ms, 1, Ratio(themed.ms, floor.ms), Ratio(themed.ms, peer.ms));
  table.Row(peer.label, peer.ms, 1, Ratio(peer.ms, floor.ms), "1");
  const bool met =
      installer.ms.Median() <= 1.3 * floor.ms.Median() && installer.ms.Median() < peer.ms.Median();
  table.Row(
      installer.label, installer.ms, 1, Ratio(installer.ms, floor.ms), Ratio(installer.ms, peer.ms),
      "≤ 1.3 × floor and < peer: " + Verdict(met) + "; " + ThemedTarget(installer.ms, themed.ms));
  for (std::size_t i = 4; i < s.size(); ++i)
    table.Row(s[i].label, s[i].ms, 1, Ratio(s[i].ms, floor.ms), Ratio(s[i].ms, peer.ms));
}

void SequenceRows(Table& table, const std::vector<SequenceSubject>& s) {
  const SequenceSubject &floor = s[0], &peer = s[2], &installer = s[3];
  table.Section("Per package, 200 no-op packages, installation page shown, ms");
  for (const SequenceSubject& subject : {s[0], s[1], s[2]})
    table.Row(subject.label, subject.ms_per_package, 2,
              Ratio(subject.ms_per_package, floor.ms_per_package),
              Ratio(subject.ms_per_package, peer.ms_per_package));
  const bool met = installer.ms_per_package.Median() <= 1.1 * floor.ms_per_package.Median() &&
                   installer.ms_per_package.Median() < peer.ms_per_package.Median();
  table.Row(installer.label, installer.ms_per_package, 2,
            Ratio(installer.ms_per_package, floor.ms_per_package),
            Ratio(installer.ms_per_package, peer.ms_per_package),
            "≤ 1.1 × floor and < peer: " + Verdict(met));
  const struct {
    const char* title;
    Samples SequenceSubject::*figure;
  } kinds[] = {{"Peak working set during the packages, MB", &SequenceSubject::working_set_mb},
               {"Peak private bytes during the packages, MB", &SequenceSubject::private_mb}};
  for (const auto& kind : kinds) {
    table.Section(kind.title);
    for (const SequenceSubject& subject : {s[0], s[2]})
      table.Row(subject.label, subject.*kind.figure, 1, "", "");
    const Samples& mine = installer.*kind.figure;
    const bool below = mine.Median() < (peer.*kind.figure).Median() ||
                       mine.Median() - (floor.*kind.figure).Median() <= 2.0;
    table.Row(installer.label, mine, 1, Ratio(mine, floor.*kind.figure),
              Ratio(mine, peer.*kind.figure), "< peer or ≤ floor + 2 MB: " + Verdict(below));
  }
}

// The "to the floor" column holds the ratio to /proc here.
void CrossCheckRows(Table& table, const SequenceSubject& installer) {
  table.Section("The installer on its finish page: GetProcessMemoryInfo against /proc, MB");
  table.Row("peak working set, /proc VmHWM", installer.proc_working_set_mb, 1, "1", "");
  table.Row("PeakWorkingSetSize", installer.api_working_set_mb, 1,
            Ratio(installer.api_working_set_mb, installer.proc_working_set_mb), "");
  table.Row("private bytes, /proc RssAnon + VmSwap", installer.proc_private_mb, 1, "1", "");
  table.Row("PagefileUsage", installer.api_private_mb, 1,
            Ratio(installer.api_private_mb, installer.proc_private_mb), "");
}

void SizeRows(Table& table, const path& peer_exe) {
  table.Section("Size of the program file, KB");
  const auto kb = [](const path& file) {
    return Samples{{static_cast<double>(e2e::fs::file_size(file)) / 1024}};
  };
  const path installer = e2e::WindowsProgram("Installer.exe");
  table.Row("Installer.exe, x86-64", kb(installer), 0, "", "",
            "< 700 KB: " + Verdict(e2e::fs::file_size(installer) < 700 * 1024));
  table.Row("NSIS peer (welcome page installer)", kb(peer_exe), 0, "", "");
}

std::string Today() {
  char text[32];
  const std::time_t now = std::time(nullptr);
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  try {
    const std::string load_before = bench::LoadAverage();
    e2e::WineSession wine;
    const path work = e2e::NativeBuildDir() / "bench-work" / "compare";
    const path journal = work / "journal.txt";
    const path welcome_peer = bench::MakeWelcomePeer(wine, work / "peer");
    std::vector<StartSubject> starts = {
        {"bare window (floor)", e2e::WindowsProgram("bare_window.exe"), "BareWindow", {}},
        {"themed window (themed floor)",
         e2e::WindowsProgram("themed_window.exe"),
         "ThemedWindow",
         {}},
        {"NSIS peer, MUI2 welcome page", welcome_peer, "#32770", {}},
        {"Installer, 3 packages", StartRelease(work / "release-3", 3), "TFWillkommen", {}},
        {"Installer, 1000 packages",
         StartRelease(work / "release-1000", 1000),
         "TFWillkommen",
         {}}};
    std::vector<SequenceSubject> sequences = PrepareSequence(wine, work, journal);
    for (StartSubject& s : starts) LaunchOnce(wine, s);  // warm-up: file cache, Wine's DLLs
    for (const SequenceSubject& s : sequences) RunPackagesOnce(wine, s, journal);
    for (int i = 0; i < runs; ++i) {
      for (int twice = 0; twice < 2; ++twice)
        for (StartSubject& s : starts) s.ms.values.push_back(LaunchOnce(wine, s));
      for (SequenceSubject& s : sequences) Record(s, RunPackagesOnce(wine, s, journal));
    }
    Table table;
    table.Line("Measured " + Today() + " on " +
               std::to_string(std::thread::hardware_concurrency()) + " cores; load average " +
               load_before + " before, " + bench::LoadAverage() + " after; " +
               std::to_string(2 * runs) + " starts and " + std::to_string(runs) +
               " package runs per subject, after one warm-up. Ratios: of the medians, of the "
               "minimums in brackets.\n");
    table.Line("| | median | min | to the floor | to the peer | target |");
    table.Line("|---|---|---|---|---|---|");
    StartRows(table, starts);
    SequenceRows(table, sequences);
    CrossCheckRows(table, sequences[3]);
    SizeRows(table, welcome_peer);
    std::cout << table.Text();
    if (argc > 2) std::ofstream(argv[2], std::ios::binary) << table.Text();
  } catch (const std::exception& error) {
    std::cerr << "compare_bench: " << error.what() << std::endl;
    return 1;
  }
  return 0;
}
