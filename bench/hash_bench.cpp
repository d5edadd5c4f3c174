// The SHA-256 of a 1 GiB file, as the installer (under Wine) and release-check read and hash a
// package, against the system's sha256sum on the same file: turn by turn, from the page cache,
// medians. The engine is the processor's SHA extensions where it has them; the portable engine,
// which processors without them use, is measured beside it.
//
//   hash_bench [runs] [table]   (default 5 runs; the table in Markdown to a file as well)
//
// The installer's half is hash_file.exe of the win64 build (bench/windows/), timed inside its
// process; without that build the row is left out.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "check/checksum_update.h"
#include "check/native_files.h"
#include "harness/wine_harness.h"
#include "harness/wine_paths.h"
#include "release/sha256.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kFileSize = std::uint64_t{1} << 30;

// Bytes that no file system keeps sparse or compresses away.
void MakeFile(const fs::path& file) {
  std::error_code error;
  if (fs::file_size(file, error) == kFileSize) return;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  std::string block(1 << 20, '\0');
  std::uint64_t state = 0x9E3779B97F4A7C15ULL;
  for (std::uint64_t written = 0; written < kFileSize; written += block.size()) {
    for (char& c : block) {
      state ^= state << 13, state ^= state >> 7, state ^= state << 17;
      c = static_cast<char>(state);
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
}

// The seconds sha256sum takes, and its digest.
double SystemSha256(const fs::path& file, std::string& digest) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) throw std::runtime_error("no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  const std::string path = file.string();
  char* argv[] = {const_cast<char*>("sha256sum"), const_cast<char*>(path.c_str()), nullptr};
  const auto start = Clock::now();
  pid_t pid;
  if (posix_spawnp(&pid, "sha256sum", &actions, nullptr, argv, environ) != 0)
    throw std::runtime_error("sha256sum could not be started");
  close(pipe_ends[1]);
  char out[128] = {};
  const ssize_t got = read(pipe_ends[0], out, sizeof out - 1);
  int status = 0;
  waitpid(pid, &status, 0);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  close(pipe_ends[0]);
  posix_spawn_file_actions_destroy(&actions);
  if (got < 64 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("sha256sum failed");
  digest.assign(out, 64);
  return seconds;
}

// The seconds the release checker's reading and hashing take, with one engine.
double OwnSha256(check::ReleaseFiles& files, const std::string& name,
                 release::Sha256::Engine engine, std::string& digest) {
  const auto start = Clock::now();
  release::Sha256 hash(engine);
  std::string reason;
  if (!files.ReadInBlocks(
          name, [&hash](std::string_view block) { hash.Update(block); }, reason))
    throw std::runtime_error("the file could not be read: " + reason);
  digest = hash.HexDigest();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The installer's reading (win32::ReadInBlocks) and hash under Wine, timed inside its process.
double WindowsSha256(e2e::WineSession& wine, const fs::path& file, release::Sha256::Engine engine,
                     std::string& digest) {
  e2e::RunOptions options;
  options.capture_output = true;
  options.timeout = std::chrono::minutes(5);
  std::vector<std::string> args = {e2e::ToWindowsPath(file)};
  if (engine == release::Sha256::Engine::Portable) args.insert(args.begin(), "--portable");
  const e2e::RunResult run = wine.Run(e2e::WindowsProgram("hash_file.exe").string(), args, options);
  const std::size_t blank = run.output.find(' ');
  if (run.exit_code != 0 || blank == std::string::npos)
    throw std::runtime_error("hash_file.exe failed: " + run.output);
  digest = run.output.substr(blank + 1, 64);
  return std::stod(run.output.substr(0, blank));
}

// Release-check's road to the fastest engine: check::HashFile.
double CheckersSha256(check::ReleaseFiles& files, const std::string& name, std::string& digest) {
  const auto start = Clock::now();
  std::string reason;
  const std::optional<std::string> found = check::HashFile(files, name, reason);
  if (!found) throw std::runtime_error("the file could not be read: " + reason);
  digest = *found;
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  return text;
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five;
  in >> one >> five;
  return one + " (1 min), " + five + " (5 min)";
}

struct Subject {
  std::string name;
  std::function<double(std::string& digest)> measure;  // seconds
  bool has_target = false;
  std::vector<double> seconds = {};
};

std::string Row(const Subject& subject, double reference, const std::string& target) {
  const double median = Median(subject.seconds);
  const double best = *std::min_element(subject.seconds.begin(), subject.seconds.end());
  const double mb = kFileSize / 1e6;
  return "| " + subject.name + " | " + Fixed(median, 3) + " | " + Fixed(best, 3) + " | " +
         Fixed(mb / median, 0) + " | " + Fixed(reference / median, 2) + " | " + target + " |\n";
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    // <native build>/bench-work, beside the folder of this program.
    const fs::path folder = fs::absolute(argv[0]).parent_path().parent_path() / "bench-work";
    const std::string name = "hash-1GiB.bin";
    MakeFile(folder / name);
    check::NativeReleaseFiles files(folder);
    using Engine = release::Sha256::Engine;
    const bool extensions = release::Sha256::Available(Engine::ShaExtensions);

    const fs::path file = folder / name;
    const std::string engine = extensions ? "SHA extensions" : "portable engine";
    std::optional<e2e::WineSession> wine;
    if (e2e::MissingWindowsPrograms({"hash_file.exe"}).empty()) wine.emplace();
    std::vector<Subject> subjects;
    subjects.push_back({"sha256sum (GNU coreutils)",
                        [&](std::string& digest) { return SystemSha256(file, digest); }});
    if (wine) {
      subjects.push_back({"the installer's reading and hash (hash_file.exe) under Wine, " + engine,
                          [&](std::string& digest) {
                            return WindowsSha256(*wine, file, release::Sha256::Fastest(), digest);
                          },
                          true});
      if (extensions) {
        subjects.push_back({"the same, portable engine", [&](std::string& digest) {
                              return WindowsSha256(*wine, file, Engine::Portable, digest);
                            }});
      }
    }
    subjects.push_back({"release-check (Linux): its reading and hash, " + engine,
                        [&](std::string& digest) { return CheckersSha256(files, name, digest); },
                        true});
    if (extensions) {
      subjects.push_back({"the same, portable engine", [&](std::string& digest) {
                            return OwnSha256(files, name, Engine::Portable, digest);
                          }});
    }

    std::string reference, digest;
    SystemSha256(file, reference);  // into the page cache
    const std::string before = LoadAverage();
    for (int run = 0; run < runs; ++run) {
      for (Subject& subject : subjects) {
        subject.seconds.push_back(subject.measure(digest));
        if (digest != reference) throw std::runtime_error(subject.name + ": another digest");
      }
    }

    const double reference_median = Median(subjects.front().seconds);
    std::string table = "Measured " + UtcNow() + " on " +
                        std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " cores, " +
                        std::to_string(runs) +
                        " runs per subject, turn by turn, the file in the page cache; load "
                        "average " +
                        before + " before, " + LoadAverage() + " after.\n\n";
    table += "| 1 GiB file | median, s | best, s | MB/s | speed to sha256sum | target |\n";
    table += "|---|---|---|---|---|---|\n";
    for (const Subject& subject : subjects) {
      const bool met = reference_median / Median(subject.seconds) >= 0.8;
      table +=
          Row(subject, reference_median,
              subject.has_target ? std::string("≥ 0.80: ") + (met ? "met" : "**missed**") : "");
    }
    std::cout << table;
    if (argc > 2) std::ofstream(argv[2]) << table;
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "hash_bench: " << e.what() << "\n";
    return 1;
  }
}
