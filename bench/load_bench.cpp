// Loading a large release: the settings file parsed once, against reading it
// key by key the way a per-key profile reader does (the file read and parsed
// again for every key). Prints both times and their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "release/ini_file.h"
#include "release/settings.h"
#include "release/text_encoding.h"
#include "release/words.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPackages = 1000;
constexpr int kBlockLines = 100;

// Reads and parses a settings file from the local disk; the generated
// release is plain ASCII, so the ANSI decoding keeps the bytes.
release::IniFile ReadAndParse(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return release::IniFile::Parse(
      release::DecodeText(bytes.str(), [](std::string_view b) { return std::string(b); }));
}

// The per-key way: every value costs a whole read and parse of the file.
class RereadingProfile : public release::Profile {
 public:
  explicit RereadingProfile(std::string path) : path_(std::move(path)) {}
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const override {
    return ReadAndParse(path_).ReadString(section, key, fallback);
  }

 private:
  std::string path_;
};

struct Release {
  std::string settings_path, language_path;
};

const Release& GeneratedRelease() {
  static const Release release = [] {
    const fs::path dir = fs::temp_directory_path() / "installer-load-bench";
    fs::create_directories(dir);
    std::ofstream settings(dir / "Settings.ini", std::ios::binary);
    settings << "[Main]\r\nName=Benchmark Update Pack\r\nFiles=" << kPackages
             << "\r\nVersion=1.0\r\nCompany=Bench\r\nWebsite=http://example.invalid\r\n"
             << "[Images]\r\nImage1=a.bmp\r\nImage2=b.bmp\r\nImage3=c.bmp\r\nImage4=d.bmp\r\n"
             << "[Defaults]\r\nAutoReboot=1\r\nMinimize=0\r\nDeleteLogs=1\r\nLowPriority=0\r\n"
             << "AllowAdvanced=1\r\n[Lines]\r\n";
    for (const char* block : {"PreInstall", "PostInstall", "License"}) {
      settings << block << '=' << kBlockLines << "\r\n";
    }
    for (const char* block : {"PreInstall", "PostInstall", "License"}) {
      settings << '[' << block << "]\r\n";
      for (int i = 1; i <= kBlockLines; ++i) {
        settings << "Line" << release::PadKeyNumber(i) << "=This is line " << i
                 << " of a text block, long enough to look like real prose.\r\n";
      }
    }
    for (int i = 1; i <= kPackages; ++i) {
      settings << "[File" << i << "]\r\nName=Security update KB" << 900000 + i
               << " for Windows\r\nParameters=/quiet /norestart /log:{tmp}\\kb" << i
               << ".log\r\nFile=Updates\\KB" << 900000 + i
               << ".exe\r\nLink=http://example.invalid/kb" << i << "\r\nLogfile=KB" << 900000 + i
               << ".log\r\nRestart=" << (i % 50 == 0) << "\r\n";
    }
    std::ofstream language(dir / "Language.ini", std::ios::binary);
    language << "[Words]\r\n";
    for (int n = 1; n <= release::WordTable::kCount; ++n) {
      language << release::PadKeyNumber(n) << "=Word number " << n << "\r\n";
    }
    return Release{(dir / "Settings.ini").string(), (dir / "Language.ini").string()};
  }();
  return release;
}

void LoadRelease(const release::Profile& settings_ini, const release::Profile& language_ini) {
  const release::WordTable words = release::LoadWords(language_ini);
  const release::SetupSettings settings = release::LoadSettings(settings_ini);
  release::PackageTable table;
  release::LoadPackageTable(settings_ini, settings.Files, table);
  benchmark::DoNotOptimize(words);
  benchmark::DoNotOptimize(table);
}

void BM_LoadParsedOnce(benchmark::State& state) {
  const Release& release = GeneratedRelease();
  for (auto _ : state) {
    LoadRelease(ReadAndParse(release.settings_path), ReadAndParse(release.language_path));
  }
}
BENCHMARK(BM_LoadParsedOnce)->Unit(benchmark::kMillisecond);

void BM_LoadKeyByKey(benchmark::State& state) {
  const Release& release = GeneratedRelease();
  for (auto _ : state) {
    LoadRelease(RereadingProfile(release.settings_path), RereadingProfile(release.language_path));
  }
}
BENCHMARK(BM_LoadKeyByKey)->Unit(benchmark::kMillisecond)->Iterations(1);

// Keeps the time of each benchmark so the ratio can be printed at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> milliseconds;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) milliseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double once = reporter.milliseconds["BM_LoadParsedOnce"];
  const double per_key = reporter.milliseconds["BM_LoadKeyByKey/iterations:1"];
  if (once > 0 && per_key > 0) {
    std::printf("release of %d packages: parsed once %.3f ms, key by key %.1f ms, %.0fx faster\n",
                kPackages, once, per_key, per_key / once);
  }
  benchmark::Shutdown();
  return 0;
}
