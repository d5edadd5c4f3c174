// The package cache against the two ways without it, on a release of four packages of 200 MB
// on a source read at network speed. The source is the fake platform of the unit tests with a
// throttle: a file read from the release's drive delivers its bytes no faster than 100 MB/s
// from the start of the read (each 1 MiB block waits until its time has come, as a share's
// sequential reads do with the client reading ahead), and a local copy costs what the machine
// takes to copy memory.
// Each package's installer reads its file (at the source's speed when it runs from there) and
// then works for 2 seconds, on a thread of its own, as a process would, while the worker copies
// the next package. The three roads:
//   no cache       the file hashed from the source, then installed from the source
//   copy first     every package copied (and hashed) first, then all installed from the copies
//   cache          each package copied while the one before installs (what the program does)
// Printed: each road's time, the target (1.1 x one copy plus the installs) and the bytes read
// from the source per package byte.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "engine/package_cache.h"
#include "engine/package_runner.h"
#include "fake_system.h"
#include "release/sha256.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kSource[] = "\\\\server\\release\\Data\\";
constexpr char kCache[] = "C:\\ProgramData\\UpdatePackages\\Pack\\Cache\\";
constexpr int kPackages = 4;
constexpr std::uint64_t kPackageBytes = 200ull << 20;
constexpr double kSourceBytesPerSecond = 100e6;
constexpr auto kInstall = std::chrono::seconds(2);

std::chrono::duration<double> TransferTime(std::uint64_t bytes) {
  return std::chrono::duration<double>(bytes / kSourceBytesPerSecond);
}

bool FromSource(const std::string& path) {
  return path.rfind(kSource, 0) == 0;
}

// The fake platform with a source that is read at network speed and installers that take time.
class ThrottledSystem : public test::FakeSystem {
 public:
  std::uint64_t source_bytes = 0;  // read from the release's drive

  platform::Result<platform::FileHold> ReadFileInBlocks(const std::string& path,
                                                        const platform::BlockSink& sink) override {
    return FakeSystem::ReadFileInBlocks(path, Counted(path, sink));
  }
  platform::Result<platform::FileHold> CopyFileFrom(const std::string& from, const std::string& to,
                                                    std::uint64_t offset,
                                                    const platform::BlockSink& sink) override {
    return FakeSystem::CopyFileFrom(from, to, offset, Counted(from, sink));
  }
  // The installer reads its package, then works; meanwhile runs beside it.
  platform::ProcessResult RunHiddenAndWait(const std::string& command_line,
                                           const std::string& working_folder,
                                           const std::function<void()>& meanwhile) override {
    const bool remote = FromSource(working_folder);
    if (remote) source_bytes += kPackageBytes;
    std::thread installer([remote] {
      if (remote) std::this_thread::sleep_for(TransferTime(kPackageBytes));
      std::this_thread::sleep_for(kInstall);
    });
    FakeSystem::RunHiddenAndWait(command_line, working_folder, meanwhile);
    installer.join();
    return {true, 0, {}};
  }

 private:
  platform::BlockSink Counted(const std::string& path, const platform::BlockSink& sink) {
    if (!FromSource(path)) return sink;
    const Clock::time_point start = Clock::now();
    return [this, sink, start, read = std::uint64_t{0}](std::string_view block) mutable {
      source_bytes += block.size();
      read += block.size();
      std::this_thread::sleep_until(
          start + std::chrono::duration_cast<Clock::duration>(TransferTime(read)));
      sink(block);
    };
  }
};

struct Road {
  double seconds = 0;
  double source_per_package_byte = 0;
};

std::string Name(int number) {
  return "KB" + std::to_string(number) + ".exe";
}

void MakeRelease(ThrottledSystem& system, std::string& sha256) {
  const std::string bytes(kPackageBytes, 'p');
  sha256 = release::Sha256Hex(bytes);
  for (int number = 1; number <= kPackages; ++number) system.files[kSource + Name(number)] = bytes;
  system.drive_kinds[kSource] = platform::System::DriveKind::Network;
}

std::shared_ptr<engine::PackageCopy> CopyOf(int number) {
  auto copy = std::make_shared<engine::PackageCopy>();
  copy->source = kSource + Name(number);
  copy->source_folder = kSource;
  copy->folder = kCache + std::to_string(number) + "\\";
  return copy;
}

template <typename Body>
Road Measure(Body body) {
  ThrottledSystem system;
  std::string sha256;
  MakeRelease(system, sha256);
  const Clock::time_point start = Clock::now();
  body(system, sha256);
  const std::chrono::duration<double> took = Clock::now() - start;
  return {took.count(), double(system.source_bytes) / (double(kPackageBytes) * kPackages)};
}

engine::PackageOutcome Install(ThrottledSystem& system, const std::string& sha256, int number,
                               const engine::PackageCopies& copies) {
  return engine::RunPackage(system, kSource + Name(number), sha256, "/q", "C:\\Temp\\tmp",
                            release::OsIndex::Windows10, copies);
}

void Check(const engine::PackageOutcome& outcome) {
  if (outcome.state != engine::PackageState::Installed) {
    std::fprintf(stderr, "a package did not install: %s\n", outcome.reason.c_str());
    std::exit(1);
  }
}

}  // namespace

int main() {
  const Road without = Measure([](ThrottledSystem& system, const std::string& sha256) {
    for (int number = 1; number <= kPackages; ++number) Check(Install(system, sha256, number, {}));
  });
  const Road copy_first = Measure([](ThrottledSystem& system, const std::string& sha256) {
    std::vector<std::shared_ptr<engine::PackageCopy>> copies;
    for (int number = 1; number <= kPackages; ++number) {
      copies.push_back(CopyOf(number));
      engine::ContinueCopy(system, *copies.back());
    }
    for (int number = 1; number <= kPackages; ++number)
      Check(Install(system, sha256, number, {copies[number - 1], nullptr}));
  });
  double one_copy = 0;
  const Road cached = Measure([&one_copy](ThrottledSystem& system, const std::string& sha256) {
    std::shared_ptr<engine::PackageCopy> own = CopyOf(1);
    const Clock::time_point start = Clock::now();
    engine::ContinueCopy(system, *own);  // what the first package's worker does first
    one_copy = std::chrono::duration<double>(Clock::now() - start).count();
    for (int number = 1; number <= kPackages; ++number) {
      std::shared_ptr<engine::PackageCopy> ahead =
          number < kPackages ? CopyOf(number + 1) : nullptr;
      Check(Install(system, sha256, number, {own, ahead}));
      own = ahead;
    }
  });
  const double target =
      1.1 * (one_copy + kPackages * std::chrono::duration<double>(kInstall).count());
  std::printf("%d packages of %llu MB, source read at %.0f MB/s, each installing for %lld s\n\n",
              kPackages, static_cast<unsigned long long>(kPackageBytes >> 20),
              kSourceBytesPerSecond / 1e6, static_cast<long long>(kInstall.count()));
  std::printf("| road | time | source bytes per package byte |\n|---|---|---|\n");
  std::printf("| no cache (hash, then install from the source) | %.1f s | %.2f |\n",
              without.seconds, without.source_per_package_byte);
  std::printf("| copy all first, then install | %.1f s | %.2f |\n", copy_first.seconds,
              copy_first.source_per_package_byte);
  std::printf("| cache, one package ahead | %.1f s | %.2f |\n", cached.seconds,
              cached.source_per_package_byte);
  std::printf("\ntarget: at most 1.1 x (one copy %.1f s + the installs) = %.1f s: %s\n", one_copy,
              target, cached.seconds <= target ? "met" : "MISSED");
  return cached.seconds <= target ? 0 : 1;
}
