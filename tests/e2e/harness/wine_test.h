// GoogleTest side of the harness: one Wine session shared by all tests of the process, and a
// fixture with a fresh scratch folder per test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "harness/probe_journal.h"
#include "harness/wine_harness.h"

namespace e2e {

// Started on first use. A failed start is remembered and reported again to later tests, so a
// broken set-up costs its time once.
WineSession& SharedWineSession();
void StopSharedWineSession();

class WineTest : public ::testing::Test {
 protected:
  void SetUp() override;  // makes work_dir() fresh

  WineSession& wine() { return SharedWineSession(); }
  // <native build>/e2e-work/<suite>/<test>, emptied before the test.
  const fs::path& work_dir() const { return work_dir_; }
  // probe.exe of the Windows build.
  fs::path probe() const { return WindowsProgram("probe.exe"); }

 private:
  fs::path work_dir_;
};

// Stops the shared session when the tests are done (add it in main()).
class WineSessionEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { StopSharedWineSession(); }
};

}  // namespace e2e
