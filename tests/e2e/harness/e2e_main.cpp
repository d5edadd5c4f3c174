// The end-to-end tests share one Wine session; it is stopped after the last test, and by the
// harness's signal handlers if the run is interrupted.
#include <gtest/gtest.h>

#include <iostream>

#include "harness/wine_test.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Without the Windows build every test would start Wine only to fail on its own: say it once,
  // before any test runs.
  if (!GTEST_FLAG_GET(list_tests)) {
    const auto missing = e2e::MissingWindowsPrograms(e2e::WindowsTestPrograms());
    if (!missing.empty()) {
      std::cerr << e2e::MissingWindowsBuildMessage(missing) << std::endl;
      return 1;
    }
  }
  ::testing::AddGlobalTestEnvironment(new e2e::WineSessionEnvironment);
  int result = RUN_ALL_TESTS();
  e2e::StopSharedWineSession();
  return result;
}
