// release-check --new on 1 GiB of packages (a cabinet, an MSI and three programs with large
// installer data behind them, as NSIS and Inno Setup packages have), against what the same
// work costs done with the system's tools: sha256sum over the files plus a copy of them
// (cp -r). Turn by turn, from the page cache, medians; each run's release is removed after it.
//
//   new_release_bench [runs]   (default 5; the files go to build/native/bench-work/packages)
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "../tests/unit/package_files.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kPart = std::uint64_t{256} << 20;

void Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  if (status != 0) throw std::runtime_error(command + " failed");
}

double Timed(const std::string& command) {
  const auto start = Clock::now();
  Shell(command);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// `prefix` and then random bytes up to kPart: data no file system compresses away.
void MakeFile(const fs::path& file, const std::string& prefix) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << prefix;
  std::string block(1 << 20, '\0');
  std::uint64_t state = 0x9E3779B97F4A7C15ULL ^ prefix.size();
  for (std::uint64_t written = prefix.size(); written < kPart; written += block.size()) {
    for (char& c : block) {
      state ^= state << 13, state ^= state >> 7, state ^= state << 17;
      c = static_cast<char>(state);
    }
    out.write(block.data(),
              static_cast<std::streamsize>(std::min<std::uint64_t>(block.size(), kPart - written)));
  }
}

// The package folder, made once: 1 GiB in five files.
void MakePackages(const fs::path& packages) {
  if (fs::exists(packages / "complete")) return;
  fs::remove_all(packages);
  fs::create_directories(packages / "Updates");
  const package_test::MadeFiles& made = package_test::Made();
  const std::string program = package_test::ReadAll(made.exe64);
  for (const char* name : {"Setup-A.exe", "Setup-B.exe", "Updates/Setup-C.exe"}) {
    MakeFile(packages / name, program);
  }
  const fs::path work = packages.parent_path() / "cabinet";
  fs::create_directories(work);
  MakeFile(work / "Windows10.0-KB5034441-x64.cab", "");
  package_test::WriteAll(work / "Windows10.0-KB5034441-x64-pkgProperties.txt",
                         "KB Article Number=\"5034441\"\r\nProcessor Architecture=\"amd64\"\r\n");
  Shell("cd '" + work.string() + "' && gcab -c '" +
        (packages / "Updates" / "windows10.0-kb5034441-x64_1.msu").string() +
        "' Windows10.0-KB5034441-x64-pkgProperties.txt Windows10.0-KB5034441-x64.cab");
  fs::remove_all(work);
  fs::copy_file(made.msi_1252, packages / "Werkzeug.msi");
  package_test::WriteAll(packages / "complete", "");
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Fixed(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const fs::path build = fs::absolute(argv[0]).parent_path().parent_path();
    const fs::path work = build / "bench-work";
    const fs::path packages = work / "packages";
    MakePackages(packages);
    std::uint64_t bytes = 0;
    std::string files;
    for (const auto& entry : fs::recursive_directory_iterator(packages)) {
      if (!entry.is_regular_file() || entry.path().filename() == "complete") continue;
      bytes += entry.file_size();
      files += " '" + entry.path().string() + "'";
    }
    const std::string release = (work / "new-release").string();
    const std::string copy = (work / "packages-copy").string();
    Shell("rm -rf '" + release + "' '" + copy + "'");
    Shell("cat" + files + " >/dev/null");  // into the page cache
    std::vector<double> tools, own;
    for (int run = 0; run <= runs; ++run) {  // run 0 warms up
      const double hashed = Timed("sha256sum" + files + " >/dev/null");
      const double copied =
          Timed("cp -r '" + packages.string() + "' '" + copy + "' && sync -f '" + copy + "'");
      Shell("rm -rf '" + copy + "'");
      const double made =
          Timed("'" + (build / "release-check").string() + "' --new '" + packages.string() + "' '" +
                release + "' >/dev/null && sync -f '" + release + "'");
      Shell("rm -rf '" + release + "'");
      if (run == 0) continue;
      tools.push_back(hashed + copied);
      own.push_back(made);
    }
    const double ratio = Median(own) / Median(tools);
    std::cout << "| | median, s | min, s | ratio | target |\n|---|---|---|---|---|\n"
              << "| sha256sum + cp -r, " << bytes / (1 << 20) << " MiB in 5 files | "
              << Fixed(Median(tools)) << " | "
              << Fixed(*std::min_element(tools.begin(), tools.end())) << " | 1 | |\n"
              << "| release-check --new | " << Fixed(Median(own)) << " | "
              << Fixed(*std::min_element(own.begin(), own.end())) << " | " << Fixed(ratio) << " | "
              << "≤ 1.3: " << (ratio <= 1.3 ? "met" : "**missed**") << " |\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "new_release_bench: " << e.what() << "\n";
    return 2;
  }
}
