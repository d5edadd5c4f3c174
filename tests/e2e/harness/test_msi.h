// The MSI package of the tests (test_package.wxs): built with wixl, installed by the
// installer through Wine's msiexec, removed again by the test.
#pragma once

#include <filesystem>
#include <string>

#include "harness/wine_harness.h"

namespace e2e {

namespace fs = std::filesystem;

class TestMsi {
 public:
  // Builds the package at `msi` with a fresh product code, its cabinet inside it or beside it
  // (payload.cab); throws when wixl fails.
  enum class Cabinet { Embedded, Beside };
  TestMsi(WineSession& wine, const fs::path& msi, Cabinet cabinet = Cabinet::Embedded);
  ~TestMsi();  // uninstalls the product, whether it was installed or not
  TestMsi(const TestMsi&) = delete;
  TestMsi& operator=(const TestMsi&) = delete;

  const fs::path& path() const { return msi_; }
  // Its product code, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in capitals.
  const std::string& product_code() const { return product_code_; }
  // Where the package puts its file: C:\Program Files\InstallerTestpaket\Liesmich.txt.
  fs::path InstalledFile() const;

 private:
  WineSession& wine_;
  fs::path msi_;
  std::string product_code_;
};

}  // namespace e2e
