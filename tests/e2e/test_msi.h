// The MSI package of the tests (test_package.wxs): built with wixl, installed by the
// installer through Wine's msiexec, removed again by the test.
#pragma once

#include <filesystem>

#include "wine_harness.h"

namespace e2e {

namespace fs = std::filesystem;

class TestMsi {
 public:
  // Builds the package at `msi` with a fresh product code; throws when wixl fails.
  TestMsi(WineSession& wine, const fs::path& msi);
  ~TestMsi();  // uninstalls the product, whether it was installed or not
  TestMsi(const TestMsi&) = delete;
  TestMsi& operator=(const TestMsi&) = delete;

  const fs::path& path() const { return msi_; }
  // Where the package puts its file: C:\Program Files\InstallerTestpaket\Liesmich.txt.
  fs::path InstalledFile() const;

 private:
  WineSession& wine_;
  fs::path msi_;
};

}  // namespace e2e
