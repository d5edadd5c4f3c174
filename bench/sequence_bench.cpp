// The installation sequence's own cost per package under Wine. A silent run installs 200 no-op
// probe packages; each probe appends a line to a journal, and the benchmark watches that file
// from Linux: the time from the first line to the last, divided by the 199 steps between them,
// is the time per package, with the program's start-up and its finish page left out. The same
// is measured for the floor, process_loop.exe, which starts and waits for the same 200 probes
// the same way and does nothing else: once on its main thread (the bare loop), once on a
// thread per program (the installer's design: one worker thread per package). Target: the
// installer's overhead over the bare loop under 10 % or under 2 ms per package.
//
// Needs the win64 build (Installer.exe, probe.exe, driver.exe, process_loop.exe). Usage:
//   build/native/bench/sequence_bench [runs]     (default 3 runs each, after one warm-up)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "install_release.h"
#include "sample_figures.h"
#include "ui_driver.h"
#include "wine_harness.h"

namespace {

using e2e::fs::path;
using Clock = std::chrono::steady_clock;

constexpr int kPackages = 200;

struct Subject {
  std::string label;
  std::string program;  // Linux path
  std::vector<std::string> args;
  bool installer = false;
  std::vector<double> ms_per_step;
};

std::string Number(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%03d", n);
  return text;
}

std::size_t LineCount(const path& file) {
  std::ifstream in(file, std::ios::binary);
  std::size_t lines = 0;
  for (char c; in.get(c);) lines += c == '\n';
  return lines;
}

// Milliseconds per step between journal lines, from the first line to the last; polled every
// millisecond by the file's size. A start that Wine lost (error 1359) leaves one line out: the
// watch ends when no line has come for five seconds, and the steps seen count.
double MillisecondsPerStep(const path& journal) {
  std::uintmax_t size = 0;
  std::size_t lines = 0;
  Clock::time_point first, last = Clock::now();
  while (lines < kPackages && Clock::now() - last < std::chrono::seconds(5)) {
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
  const std::chrono::duration<double, std::milli> span = last - first;
  return span.count() / static_cast<double>(lines - 1);
}

double MeasureOnce(e2e::WineSession& wine, const Subject& subject, const path& journal) {
  e2e::fs::remove(journal);
  e2e::WineProgram program = wine.Start(subject.program, subject.args);
  const double ms = MillisecondsPerStep(journal);
  if (subject.installer) {
    const e2e::DriverRun finish = e2e::Drive(wine, {"wait TFEnde 60000"});
    if (!finish.ok()) throw std::runtime_error("installer: " + finish.Report());
    program.Kill();  // before the countdown asks for the restart
  } else if (program.Wait(std::chrono::minutes(1)).exit_code != 0) {
    throw std::runtime_error(subject.label + " failed");
  }
  return ms;
}

std::vector<Subject> Prepare(const path& work, const path& journal) {
  e2e::InstallRelease release;
  for (int i = 1; i <= kPackages; ++i) release.packages.emplace_back("KB" + Number(i) + ".exe", "");
  const path installer =
      e2e::MakeInstallRelease(work / "release", release, e2e::WindowsProgram("probe.exe"), journal);
  const path list = work / "programs.txt";
  std::ofstream out(list, std::ios::binary);
  for (const e2e::TestPackage& package : release.packages)
    out << e2e::ToWindowsPath(installer.parent_path() / "Data" / package.file) << "\r\n";
  const std::string loop = e2e::WindowsProgram("process_loop.exe").string();
  const std::string programs = e2e::ToWindowsPath(list);
  return {{"process_loop (floor)", loop, {programs}, false, {}},
          {"process_loop, thread per program", loop, {programs, "thread"}, false, {}},
          {"installer, silent run", installer.string(), {"/silent"}, true, {}}};
}

double Minimum(const std::vector<double>& samples) {
  return bench::Percentile(samples, 0.0);
}

// Medians and minimums: on a shared machine the minimum shows the cost best.
void Print(const std::vector<Subject>& subjects) {
  const double floor_median = bench::Median(subjects[0].ms_per_step);
  const double floor_min = Minimum(subjects[0].ms_per_step);
  std::printf("%d no-op packages; ms per package = (last journal line - first) / %d; %zu runs\n",
              kPackages, kPackages - 1, subjects[0].ms_per_step.size());
  std::printf("%-34s %9s %9s %13s %13s\n", "", "median", "min", "median-floor", "min-floor");
  for (const Subject& s : subjects) {
    const double median = bench::Median(s.ms_per_step);
    const double min = Minimum(s.ms_per_step);
    std::printf("%-34s %9.2f %9.2f %6.2f %5.1f%% %6.2f %5.1f%%\n", s.label.c_str(), median, min,
                median - floor_median, 100.0 * (median - floor_median) / floor_median,
                min - floor_min, 100.0 * (min - floor_min) / floor_min);
  }
  std::printf("target: the installer under 10 %% or under 2 ms per package over the floor\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  try {
    e2e::WineSession wine;
    const path work = e2e::NativeBuildDir() / "bench-work" / "sequence";
    const path journal = work / "journal.txt";
    std::vector<Subject> subjects = Prepare(work, journal);
    for (const Subject& s : subjects) MeasureOnce(wine, s, journal);  // warm-up
    // Interleaved, so that a slow phase of the machine weighs on every subject alike.
    for (int i = 0; i < runs; ++i)
      for (Subject& s : subjects) s.ms_per_step.push_back(MeasureOnce(wine, s, journal));
    Print(subjects);
  } catch (const std::exception& error) {
    std::cerr << "sequence_bench: " << error.what() << std::endl;
    return 1;
  }
  return 0;
}
