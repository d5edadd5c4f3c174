// Start-up time of Installer.exe under Wine: from CreateProcess to the welcome page being
// visible, measured inside Wine by `driver.exe launch`, for a release of 1000 packages (with
// all three text blocks) and one of 3 packages, against the floor: a bare Win32 program that
// shows one empty window. Target: the installer within 1.5 times the floor.
//
// Needs the win64 build (Installer.exe, driver.exe, bare_window.exe). Usage:
//   build/native/bench/startup_bench [runs]     (default 10 runs each, after one warm-up)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "release_folder.h"
#include "ui_driver.h"
#include "wine_harness.h"

namespace {

using e2e::fs::path;

struct Subject {
  std::string label;
  path program;
  std::string form;  // the window class whose appearance ends the measurement
  std::vector<double> ms;
};

std::vector<std::string> Lines(const std::string& what, int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i)
    lines.push_back(what + ", Zeile " + std::to_string(i) + ": Hinweise für die Installation.");
  return lines;
}

path Release(const path& folder, int packages) {
  e2e::ReleaseSettings settings;
  settings.packages = packages;
  if (packages > 3) {
    settings.pre_install = Lines("Vorwort", 40);
    settings.post_install = Lines("Nachwort", 40);
    settings.license = Lines("Lizenz", 200);
  }
  e2e::ReleaseFiles files;
  files.settings = settings.Text();
  return e2e::MakeRelease(folder, files);
}

double LaunchOnce(e2e::WineSession& wine, const Subject& subject) {
  const std::string program = e2e::ToWindowsPath(subject.program);
  if (program.find(' ') != std::string::npos)
    throw std::runtime_error("the driver's commands take no blanks: " + program);
  const std::string launch = "launch " + program + " " + subject.form + " 60000";
  e2e::DriverRun run = e2e::Drive(wine, {launch, "kill"});
  if (!run.ok()) throw std::runtime_error(subject.label + ": " + run.Report());
  return std::stod(run.Value(launch));
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Print(const std::vector<Subject>& subjects) {
  const double floor_median = Median(subjects[0].ms);
  const double floor_min = *std::min_element(subjects[0].ms.begin(), subjects[0].ms.end());
  std::printf("%-28s %10s %10s %14s %11s\n", "start-up until visible", "median ms", "min ms",
              "median/floor", "min/floor");
  for (const Subject& s : subjects) {
    const double median = Median(s.ms);
    const double min = *std::min_element(s.ms.begin(), s.ms.end());
    std::printf("%-28s %10.1f %10.1f %14.2f %11.2f\n", s.label.c_str(), median, min,
                median / floor_median, min / floor_min);
  }
  std::printf("target: the installer within 1.5 times the floor (%zu runs each)\n",
              subjects[0].ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  try {
    e2e::WineSession wine;
    const path work = e2e::NativeBuildDir() / "bench-work" / "startup";
    std::vector<Subject> subjects = {
        {"bare window (floor)", e2e::WindowsProgram("bare_window.exe"), "BareWindow", {}},
        {"Installer, 3 packages", Release(work / "release-3", 3), "TFWillkommen", {}},
        {"Installer, 1000 packages", Release(work / "release-1000", 1000), "TFWillkommen", {}},
    };
    for (Subject& s : subjects) LaunchOnce(wine, s);  // warm-up: file cache, Wine's DLLs
    // Interleaved, so that a slow phase of the machine weighs on every subject alike.
    for (int i = 0; i < runs; ++i)
      for (Subject& s : subjects) s.ms.push_back(LaunchOnce(wine, s));
    Print(subjects);
  } catch (const std::exception& error) {
    std::cerr << "startup_bench: " << error.what() << std::endl;
    return 1;
  }
  return 0;
}
