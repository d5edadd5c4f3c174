// How quickly the installer's main thread answers while a package installs: driver.exe sends
// WM_NULL (SendMessageTimeout) to the visible installation page every few milliseconds while a
// 5-second package runs, and times each round trip inside Wine. The same to the window of an
// idle bare program gives the floor. Target: the 99th percentile under 50 ms.
//
// Needs the win64 build (Installer.exe, probe.exe, driver.exe, bare_window.exe). Usage:
//   build/native/bench/responsiveness_bench [runs]     (default 3 runs each)
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "harness/install_release.h"
#include "harness/ui_driver.h"
#include "harness/wine_harness.h"
#include "sample_figures.h"

namespace {

using e2e::fs::path;

// About four seconds of samples, inside the package's five.
constexpr int kSamples = 800;
constexpr int kGapMs = 4;
constexpr unsigned kPackageMs = 5000;

struct Subject {
  std::string label;
  std::string launch;  // the driver's command that starts it
  std::string form;
  std::string before_kill;  // a driver command that waits for the subject's work to end
  std::vector<double> ms;
};

path Release(const path& folder) {
  e2e::InstallRelease release;
  release.packages.emplace_back("KB1.exe", "/quiet");
  release.packages[0].sleep_ms = kPackageMs;
  return e2e::MakeInstallRelease(folder, release, e2e::WindowsProgram("probe.exe"),
                                 folder.parent_path() / "journal.txt");
}

void Sample(e2e::WineSession& wine, Subject& subject) {
  const std::string trips =
      "roundtrips " + subject.form + " " + std::to_string(kSamples) + " " + std::to_string(kGapMs);
  std::vector<std::string> commands = {subject.launch, trips};
  if (!subject.before_kill.empty()) commands.push_back(subject.before_kill);
  commands.push_back("kill");
  const e2e::DriverRun run = e2e::Drive(wine, commands);
  if (!run.ok()) throw std::runtime_error(subject.label + ": " + run.Report());
  std::istringstream values(run.Value(trips));
  for (double ms = 0; values >> ms;) subject.ms.push_back(ms);
}

void Print(const std::vector<Subject>& subjects) {
  std::printf("%-36s %8s %10s %10s %10s\n", "WM_NULL round trip", "samples", "median ms", "p99 ms",
              "max ms");
  for (const Subject& s : subjects) {
    std::printf("%-36s %8zu %10.3f %10.3f %10.3f\n", s.label.c_str(), s.ms.size(),
                bench::Median(s.ms), bench::Percentile(s.ms, 0.99), bench::Percentile(s.ms, 1.0));
  }
  std::printf("target: p99 under 50 ms for the installation page\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  try {
    e2e::WineSession wine;
    const path installer =
        Release(e2e::NativeBuildDir() / "bench-work" / "responsiveness" / "release");
    std::vector<Subject> subjects(2);
    subjects[0].label = "bare window, idle (floor)";
    subjects[0].launch = "launch " + e2e::ToWindowsPath(e2e::WindowsProgram("bare_window.exe")) +
                         " BareWindow 60000";
    subjects[0].form = "BareWindow";
    subjects[1].label = "installation page, package running";
    subjects[1].launch =
        "launchwith " + e2e::ToWindowsPath(installer) + " /silent TFKopieren 60000";
    subjects[1].form = "TFKopieren";
    // Left to reach its finish page, so that no package outlives the installer.
    subjects[1].before_kill = e2e::WaitFor("TFEnde", 60000);
    for (int i = 0; i < runs; ++i)
      for (Subject& s : subjects) Sample(wine, s);
    Print(subjects);
  } catch (const std::exception& error) {
    std::cerr << "responsiveness_bench: " << error.what() << std::endl;
    return 1;
  }
  return 0;
}
