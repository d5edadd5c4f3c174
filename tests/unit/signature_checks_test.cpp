// The checks of signatures: Installer.exe beside Data, and .msu packages, read
// from headers made here in the layouts that signing tools write.
#include <gtest/gtest.h>

#include "release_check_fixture.h"

namespace release_check_test {
namespace {

std::string U16(int v) {
  return U32(v).substr(0, 2);
}

constexpr int kPe32 = 0x10B, kPe32Plus = 0x20B;

// The start of a program: the DOS header, the PE header at 0x80, an optional
// header with `entries` data directories whose fifth, the security entry,
// names a table of `signature` bytes; the section table follows (not zeros).
std::string Program(int magic, int entries, int signature) {
  const int directories = magic == kPe32 ? 96 : 112;
  std::string optional = U16(magic) + std::string(directories - 6, '\0') + U32(entries);
  for (int i = 0; i < entries; ++i)
    optional += i == 4 ? U32(signature ? 0x3000 : 0) + U32(signature) : U32(0) + U32(0);
  const std::string dos = "MZ" + std::string(0x3A, '\0') + U32(0x80) + std::string(0x40, '\0');
  const std::string coff = "PE\0\0"s + U16(0x8664) + U16(3) + U32(0) + U32(0) + U32(0) +
                           U16(static_cast<int>(optional.size())) + U16(0x22);
  return dos + coff + optional + std::string(256, '\x7F');
}

// The start of a cabinet with its flags; with flag 4 a reserved area of
// `area` bytes that names a signature of `signature` bytes at its end. Other
// parts of the cabinet follow (not zeros).
std::string Cabinet(int flags, int area, int signature) {
  std::string head = "MSCF" + U32(0) + U32(4096) + U32(0) + U32(44) + U32(0) + "\x03\x01"s +
                     U16(1) + U16(1) + U16(flags) + U16(0) + U16(0);
  if (flags & 4)
    head += U16(area) + "\0\0"s + U32(0x00100000) + U32(4096) + U32(signature) + U32(0) + U32(0);
  return head + std::string(64, '\x7F');
}

struct SignatureCase {
  const char* what;
  std::string bytes;
  bool warned;
};

TEST_F(ReleaseCheck, InstallerWithoutSignature) {
  const SignatureCase cases[] = {
      {"64-bit program, signed", Program(kPe32Plus, 16, 0x5A8), false},
      {"32-bit program, signed", Program(kPe32, 16, 0x5A8), false},
      {"64-bit program, unsigned", Program(kPe32Plus, 16, 0), true},
      {"32-bit program, unsigned", Program(kPe32, 16, 0), true},
      {"program with no security entry among its directories", Program(kPe32, 4, 0), true},
      {"a header cut before the security entry", Program(kPe32, 16, 0x5A8).substr(0, 0x100), false},
      {"MZ alone: no program, the other checks' business", "MZ", false},
      {"a PE header that points beyond the file", "MZ" + std::string(0x3A, '\0') + U32(-1), false},
  };
  for (const SignatureCase& c : cases) {
    Write("Installer.exe", c.bytes);
    const std::vector<Finding> findings = Check();
    if (!c.warned) {
      EXPECT_TRUE(findings.empty()) << c.what << ": " << check::FormatText(findings.front());
      continue;
    }
    const Finding f = Only("installer-unsigned");
    EXPECT_EQ(f.severity, Severity::Warning) << c.what;
    EXPECT_EQ(f.file, "Installer.exe") << c.what;
    EXPECT_TRUE(Has(f.fix, "scripts/sign.sh")) << f.fix;
  }
  // Given the Data folder, the checker looks beside it all the same.
  Write("Installer.exe", Program(kPe32Plus, 16, 0));
  const std::vector<Finding> from_data = Check("Data");
  ASSERT_EQ(from_data.size(), 1u);
  EXPECT_EQ(from_data.front().id, "installer-unsigned");
}

TEST_F(ReleaseCheck, MsuPackageWithoutSignature) {
  const SignatureCase cases[] = {
      {"signed cabinet", Cabinet(4, 20, 0x5B8), false},
      {"no reserved area", Cabinet(0, 0, 0), true},
      {"no reserved area, a cabinet followed by another", Cabinet(2, 0, 0), true},
      {"reserved area without a signature", Cabinet(4, 20, 0), true},
      {"reserved area too small for a signature's place", Cabinet(4, 8, 0x5B8), true},
      {"no cabinet at all", "MSU", false},
  };
  Replace("Data/Settings.ini", "File=Werkzeug.msi", "File=Pakete\\Windows6.1-KB2.MSU");
  for (const SignatureCase& c : cases) {
    Write("Data/Pakete/Windows6.1-KB2.MSU", c.bytes);
    std::vector<Finding> unsigned_packages;
    for (const Finding& f : Check()) {
      if (f.id == "package-unsigned") unsigned_packages.push_back(f);
      else EXPECT_EQ(f.id, "package-kind-skipped") << c.what;
    }
    ASSERT_EQ(unsigned_packages.size(), c.warned ? 1u : 0u) << c.what;
    if (!c.warned) continue;
    const Finding& f = unsigned_packages.front();
    EXPECT_EQ(f.severity, Severity::Warning);
    EXPECT_EQ(f.section, "File2");
    EXPECT_EQ(f.key, "File");
    EXPECT_TRUE(Has(f.message, "\"Pakete\\Windows6.1-KB2.MSU\" carries no signature")) << f.message;
  }
}

}  // namespace
}  // namespace release_check_test
