// The end-to-end tests share one Wine session; it is stopped after the last test, and by the
// harness's signal handlers if the run is interrupted.
#include <gtest/gtest.h>

#include "wine_test.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new e2e::WineSessionEnvironment);
  int result = RUN_ALL_TESTS();
  e2e::StopSharedWineSession();
  return result;
}
