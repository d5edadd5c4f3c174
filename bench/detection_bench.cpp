// The detection rules of a release of 1000 packages, evaluated as the installer's worker
// evaluates them at each start, on the fake platform of the unit tests with a component
// store of 10,000 package keys. Target: every rule in less than 100 ms.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "fake_system.h"
#include "release/detector.h"

namespace {

constexpr int kPackages = 1000;
constexpr int kStoreKeys = 10000;
constexpr char kStore[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";

std::string Update(int n) {
  return "KB" + std::to_string(4000000 + n);
}

// Keys named as Windows 7 names them: an update's packages for each language and
// architecture, and the system's own packages that are for no update. Every fourth key of
// an update is installed (CurrentState 112), the others superseded or staged.
void FillStore(test::FakeSystem& system) {
  std::vector<std::string>& names = system.machine_keys[kStore];
  for (int i = 0; i < kStoreKeys; ++i) {
    const bool update = i % 5 != 4;
    const std::string name = update ? "Package_" + std::to_string(i % 3) + "_for_" + Update(i / 2) +
                                          "~31bf3856ad364e35~amd64~~6.1.1." + std::to_string(i % 7)
                                    : "Microsoft-Windows-Feature" + std::to_string(i) +
                                          "-Package~31bf3856ad364e35~amd64~~6.1.7601.17514";
    names.push_back(name);
    const std::uint32_t state = i % 4 == 0 ? 112 : (i % 4 == 1 ? 80 : 32);
    system.machine_values[std::string(kStore) + "\\" + name]["CurrentState"] = state;
  }
}

// Every rule a KB rule, the most costly kind; two of three name an update of the store.
std::vector<std::string> Rules() {
  std::vector<std::string> rules;
  for (int n = 0; n < kPackages; ++n) rules.push_back(Update(n % 3 == 2 ? 900000 + n : n * 3));
  return rules;
}

void BM_EvaluateThousandRulesAgainstTenThousandKeys(benchmark::State& state) {
  test::FakeSystem system;
  FillStore(system);
  const std::vector<std::string> rules = Rules();
  int installed = 0;
  for (auto _ : state) {
    release::Detector detector(system, release::OsIndex::Windows7);  // reads the store anew
    installed = 0;
    for (const std::string& rule : rules) {
      installed += detector.Evaluate(rule).result == release::Finding::Result::Installed;
    }
    benchmark::DoNotOptimize(installed);
  }
  state.counters["installed"] = installed;
}
BENCHMARK(BM_EvaluateThousandRulesAgainstTenThousandKeys)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
