// The detection rules under Wine: detection_measure.exe (the win64 build) makes 2,000
// package keys in the component store of the harness's prefix, times 1,000 KB rules
// evaluated with the installer's own code through the real registry, and removes the keys.
// Target: less than 100 ms.
//
//   build/native/bench/detection_wine_bench [keys] [rules] [runs]   (default 2000 1000 5)
#include <iostream>
#include <string>

#include "harness/wine_harness.h"
#include "harness/wine_paths.h"
#include "sample_figures.h"

int main(int argc, char** argv) {
  const std::string keys = argc > 1 ? argv[1] : "2000";
  const std::string rules = argc > 2 ? argv[2] : "1000";
  const std::string runs = argc > 3 ? argv[3] : "5";
  try {
    e2e::WineSession wine;
    std::cout << "load average before: " << bench::LoadAverage() << std::endl;
    e2e::RunOptions options;
    options.capture_output = true;
    options.timeout = std::chrono::minutes(5);
    const e2e::RunResult result = wine.Run(e2e::WindowsProgram("detection_measure.exe").string(),
                                           {keys, rules, runs}, options);
    std::cout << result.output;
    if (result.exit_code != 0) {
      std::cerr << "detection_measure.exe ended with " << result.exit_code << std::endl;
      return 1;
    }
    std::cout << "load average after: " << bench::LoadAverage() << std::endl
              << "target: every rule in less than 100 ms" << std::endl;
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  }
  return 0;
}
