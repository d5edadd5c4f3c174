#include "harness/test_msi.h"

#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>

namespace e2e {
namespace {

const char kFileName[] = "Liesmich.txt";

// A random GUID in braces, in capitals.
std::string NewProductCode() {
  std::random_device random;
  std::string code = "{";
  for (const int group : {8, 4, 4, 4, 12}) {
    if (code.size() > 1) code += '-';
    for (int i = 0; i < group; ++i) code += "0123456789ABCDEF"[random() % 16];
  }
  return code + "}";
}

}  // namespace

TestMsi::TestMsi(WineSession& wine, const fs::path& msi, Cabinet cabinet)
    : wine_(wine), msi_(msi), product_code_(NewProductCode()) {
  const char payload[] = "msi-payload.txt";
  std::ofstream(msi.parent_path() / payload, std::ios::binary) << "Installiert vom Testpaket.\r\n";
  RunOptions options;
  options.capture_output = true;
  options.working_dir = msi.parent_path().string();  // wixl takes sources relative to it only
  const RunResult built =
      wine.RunNative({"wixl", "-a", "x64", "-D", std::string("FileName=") + kFileName, "-D",
                      std::string("Source=") + payload, "-D", "ProductCode=" + product_code_, "-D",
                      cabinet == Cabinet::Embedded ? "EmbedCab=yes" : "EmbedCab=no", "-o",
                      msi.string(), E2E_TEST_MSI_WXS},
                     options);
  if (built.exit_code != 0 || !fs::exists(msi))
    throw std::runtime_error("wixl could not build " + msi.string() + ": " + built.output);
  if (cabinet == Cabinet::Embedded) return;
  // wixl names the cabinet in the Media table but writes none: gcab makes it, holding the
  // payload under its key in the File table.
  fs::copy_file(msi.parent_path() / payload, msi.parent_path() / "Payload",
                fs::copy_options::overwrite_existing);
  const RunResult packed = wine.RunNative({"gcab", "-c", "payload.cab", "Payload"}, options);
  fs::remove(msi.parent_path() / "Payload");
  if (packed.exit_code != 0)
    throw std::runtime_error("gcab could not make payload.cab: " + packed.output);
}

TestMsi::~TestMsi() {
  const RunResult removed = wine_.Run("msiexec", {"/x", ToWindowsPath(msi_), "/qn"});
  if (removed.exit_code != 0)
    std::cerr << "e2e: msiexec /x " << msi_ << " ended with " << removed.exit_code << std::endl;
}

fs::path TestMsi::InstalledFile() const {
  return wine_.prefix() / "drive_c" / "Program Files" / "InstallerTestpaket" / kFileName;
}

}  // namespace e2e
