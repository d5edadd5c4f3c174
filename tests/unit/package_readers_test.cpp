// The readers of package files on files made by Debian's tools, and on
// damaged copies of them: the facts of each, or a named reason, never a crash.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "check/cabinet.h"
#include "check/inflate.h"
#include "check/package_facts.h"
#include "check/pe_reader.h"
#include "package_files.h"
#include "release/msi_reader.h"

namespace {

using namespace package_test;
using release::MemorySource;

struct Expected {
  fs::path MadeFiles::*file;
  const char* name;
  const char* detect;
  const char* parameters;
  bool servicing_stack;
  const char* found;  // a part of it
};

const Expected kPackages[] = {
    {&MadeFiles::msu_stored, "Sicherheitsupdate für Windows 10 (KB5034441)", "KB5034441",
     "/quiet /norestart", false, "KB5034441, x64, from its properties"},
    {&MadeFiles::msu_mszip, "Update für Windows 7 (KB2533623)", "KB2533623", "/quiet /norestart",
     false, "KB2533623, x86, from its properties"},
    {&MadeFiles::msu_renamed_ssu, "Wartungsstapelupdate für Windows 10 (KB5031539)", "KB5031539",
     "/quiet /norestart", true, "servicing stack"},
    {&MadeFiles::msi_1252, "Prüfwerkzeug & Co 2.5.1", "msi:{12345678-1234-1234-1234-123456789ABC}",
     "/qn /norestart", false, "code page 1252"},
    {&MadeFiles::msi_65001, "Größenmesser & Co 2.5.1", "msi:{ABCDEF01-2345-6789-ABCD-EF0123456789}",
     "/qn /norestart", false, "code page 65001"},
    {&MadeFiles::exe64, "Messwerkzeug für Prüfer 3.1.4.1", "", "", false,
     "64-bit program of unknown kind"},
    {&MadeFiles::exe32, "Messwerkzeug für Prüfer 3.1.4.1", "", "", false,
     "32-bit program of unknown kind"},
    {&MadeFiles::nsis, "Notizblock Setup 2.4.0.0", "", "/S", false, "32-bit NSIS installer"},
};

class PackageRead : public ::testing::TestWithParam<Expected> {};

TEST_P(PackageRead, TellsNameRuleAndSwitches) {
  const fs::path file = Made().*GetParam().file;
  const std::string bytes = ReadAll(file);
  MemorySource source(bytes);
  const check::PackageFacts facts = check::ReadPackage(file.filename().string(), source, false);
  EXPECT_EQ(facts.name, GetParam().name);
  EXPECT_EQ(facts.detect, GetParam().detect);
  EXPECT_EQ(facts.parameters, GetParam().parameters);
  EXPECT_EQ(facts.servicing_stack, GetParam().servicing_stack);
  EXPECT_NE(facts.found.find(GetParam().found), std::string::npos) << facts.found;
  if (file.extension() != ".exe") {
    EXPECT_EQ(facts.missing, "");
  }
}

INSTANTIATE_TEST_SUITE_P(MadeByTools, PackageRead, ::testing::ValuesIn(kPackages));

// Cut at each sixteenth and with bytes flipped: every file gives its facts or
// says what is missing and why; no exception leaves the readers.
TEST_P(PackageRead, DamagedCopiesGiveAReason) {
  const fs::path file = Made().*GetParam().file;
  const std::string bytes = ReadAll(file);
  std::vector<std::string> copies;
  for (std::size_t k = 0; k < 16; ++k) copies.push_back(bytes.substr(0, bytes.size() * k / 16));
  for (std::size_t k = 0; k < 64; ++k) {
    std::string flipped = bytes;
    const std::size_t at = (k < 32 ? k * 97 : bytes.size() * (k - 32) / 32) % bytes.size();
    flipped[at] = static_cast<char>(~flipped[at]);
    copies.push_back(flipped);
  }
  for (const std::string& copy : copies) {
    MemorySource source(copy);
    check::PackageFacts facts;
    ASSERT_NO_THROW(facts = check::ReadPackage(file.filename().string(), source, false));
    EXPECT_FALSE(facts.name.empty());
    if (copy.size() < bytes.size() / 16 + 1 && file.extension() != ".msu") {
      EXPECT_NE(facts.missing, "") << "a file cut to " << copy.size() << " bytes";
    }
  }
}

TEST(PackageRead, EnglishWordsAndTheFileNameAsFallback) {
  const std::string bytes = ReadAll(Made().msu_stored).substr(0, 100);
  MemorySource source(bytes);
  const check::PackageFacts facts =
      check::ReadPackage("windows10.0-kb5034441-x64_0123.msu", source, true);
  EXPECT_EQ(facts.name, "Update for Windows 10 (KB5034441)");
  EXPECT_EQ(facts.detect, "KB5034441");
  EXPECT_NE(facts.found.find("from its file name"), std::string::npos);
  EXPECT_NE(facts.missing.find("cut short"), std::string::npos) << facts.missing;
}

// A reader's own reason for each kind of damage.
struct Damage {
  const char* what;
  std::string (*make)();
  const char* reason;  // a part of it
};

std::string CutCabinet() {
  return ReadAll(Made().msu_mszip).substr(0, 60);
}
std::string NoCabinet() {
  return std::string(100, 'x');
}
std::string NoCompound() {
  return std::string(1024, 'x');
}
std::string LoopingChain() {
  std::string msi = ReadAll(Made().msi_1252);
  // The first sector table entry of the directory's sector points at itself.
  const std::uint32_t directory =
      static_cast<unsigned char>(msi[0x30]) | (static_cast<unsigned char>(msi[0x31]) << 8);
  const std::uint32_t fat =
      static_cast<unsigned char>(msi[0x4C]) | (static_cast<unsigned char>(msi[0x4D]) << 8);
  const std::size_t at = (fat + 1) * 512 + directory * 4;
  msi[at] = static_cast<char>(directory & 0xFF);
  msi[at + 1] = static_cast<char>(directory >> 8);
  msi[at + 2] = msi[at + 3] = 0;
  return msi;
}
std::string NoProgram() {
  return "MZ" + std::string(100, '\0');
}

const Damage kDamages[] = {
    {"cut cabinet", CutCabinet, "cut short"},
    {"no cabinet", NoCabinet, "no cabinet"},
    {"no compound document", NoCompound, "no compound document"},
    {"looping sector chain", LoopingChain, "loop"},
    {"no PE signature", NoProgram, "no PE signature"},
};

TEST(PackageRead, NamesTheDamage) {
  for (const Damage& damage : kDamages) {
    const std::string bytes = damage.make();
    MemorySource source(bytes);
    std::string reason;
    try {
      if (std::string(damage.what).find("cabinet") != std::string::npos) {
        check::Cabinet cabinet(source);
        for (const check::CabinetFile& f : cabinet.Files()) cabinet.Extract(f);
      } else if (std::string(damage.what).find("PE") != std::string::npos) {
        check::ReadProgram(source);
      } else {
        release::ReadMsiProperties(source);
      }
    } catch (const release::UnreadablePackage& e) {
      reason = e.what();
    }
    EXPECT_NE(reason.find(damage.reason), std::string::npos) << damage.what << ": " << reason;
  }
}

// The cabinets an MSI names beside it, from databases made by wixl and
// msibuild and from damaged copies of them.
struct CabinetCase {
  const char* what;
  std::string (*make)();
  std::vector<std::string> cabinets;
  const char* reason;  // a part of it; nullptr: read without a throw
};

std::string External() {
  return ReadAll(Made().msi_external);
}
// Its Media table: 4 rows of 14 bytes, the disks' numbers (2 bytes each) first.
constexpr std::size_t kMediaBytes = 56;

// Disks 1 and 4 swap their numbers; their rows stay where they are.
std::string DisksSwapped() {
  std::string msi = External();
  const std::size_t at = StreamAt(msi, "Media", kMediaBytes);
  std::swap(msi[at], msi[at + 6]);
  std::swap(msi[at + 1], msi[at + 7]);
  return msi;
}
std::string ColumnsRenamed() {
  std::string msi = External();
  ++msi[EntryAt(msi, "_Columns")];
  return msi;
}
// A table's stream one byte shorter than its rows.
std::string Cut(const char* table) {
  std::string msi = External();
  const std::size_t at = EntryAt(msi, table) + 120;
  std::uint32_t size = 0;
  for (std::size_t i = 4; i-- > 0;) size = (size << 8) | static_cast<unsigned char>(msi[at + i]);
  --size;
  for (std::size_t i = 0; i < 4; ++i) msi[at + i] = static_cast<char>(size >> (8 * i));
  return msi;
}
std::string MediaRefersBeyondThePool() {
  std::string msi = External();
  msi.replace(StreamAt(msi, "Media", kMediaBytes), kMediaBytes, kMediaBytes, '\xFF');
  return msi;
}

const CabinetCase kCabinetCases[] = {
    {"embedded only", [] { return ReadAll(Made().msi_1252); }, {}, nullptr},
    {"beside it", External, {"disk1.cab", "Datenträger 4.cab"}, nullptr},
    {"stored out of disk order", DisksSwapped, {"Datenträger 4.cab", "disk1.cab"}, nullptr},
    {"no Media table", [] { return ReadAll(Made().msi_no_media); }, {}, nullptr},
    {"no _Columns", ColumnsRenamed, {}, "no _Columns table"},
    {"_Columns cut short", [] { return Cut("_Columns"); }, {}, "_Columns table is cut short"},
    {"Media cut short", [] { return Cut("Media"); }, {}, "Media table is cut short"},
    {"Media refers beyond the pool", MediaRefersBeyondThePool, {}, "which the pool lacks"},
};

TEST(MsiExternalCabinets, InTheOrderOfTheDisks) {
  for (const CabinetCase& c : kCabinetCases) {
    const std::string bytes = c.make();
    MemorySource source(bytes);
    try {
      EXPECT_EQ(release::ReadMsiExternalCabinets(source), c.cabinets) << c.what;
      EXPECT_EQ(c.reason, nullptr) << c.what << ": read without a throw";
    } catch (const release::UnreadablePackage& e) {
      ASSERT_NE(c.reason, nullptr) << c.what << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos)
          << c.what << ": " << e.what();
    }
  }
}

TEST(Inflate, StopsAtItsLimit) {
  // A stored block of 100 bytes, and the fixed-code block of a long run.
  std::string stored = std::string("\x01\x64\x00\x9B\xFF", 5) + std::string(100, 'a');
  std::string out;
  EXPECT_THROW(check::Inflate(stored, out, 50), release::UnreadablePackage);
  out.clear();
  check::Inflate(stored, out, 100);
  EXPECT_EQ(out, std::string(100, 'a'));
}

// Marks of the installer frameworks, appended to a made program or set in its sections.
struct Mark {
  const char* appended;
  check::InstallerKind kind;
  const char* switches;
};

const Mark kMarks[] = {
    {"\x00\x00\x00\x00\xEF\xBE\xAD\xDENullsoftInst", check::InstallerKind::Nsis, "/S"},
    {"Inno Setup Setup Data (5.5.7)", check::InstallerKind::InnoSetup,
     "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /SP-"},
    {"InstallShield", check::InstallerKind::InstallShield, "/s /v\"/qn /norestart\""},
    {"7z\xBC\xAF\x27\x1C", check::InstallerKind::SevenZipSfx, "-y"},
};

TEST(ProgramKind, FromTheMarksOfItsFramework) {
  const std::string program = ReadAll(Made().exe64);
  for (const Mark& mark : kMarks) {
    const std::string bytes =
        program + std::string(mark.appended, std::char_traits<char>::length(mark.appended + 4) + 4);
    MemorySource source(bytes);
    const check::ProgramFacts facts = check::ReadProgram(source);
    EXPECT_EQ(facts.kind, mark.kind) << mark.appended + 4;
    EXPECT_EQ(check::SilentSwitches(facts.kind), std::string(mark.switches));
  }
  std::string burn = program;
  burn.replace(burn.find(".text"), 8, std::string(".wixburn", 8));
  MemorySource source(burn);
  EXPECT_EQ(check::ReadProgram(source).kind, check::InstallerKind::WixBurn);
}

TEST(KbNumberInName, OnlyAsAWordOfDigits) {
  EXPECT_EQ(check::KbNumberInName("windows10.0-kb5034441-x64_abc.msu"), "5034441");
  EXPECT_EQ(check::KbNumberInName("IE8-Windows6.1-KB2530548-x64-DEU.exe"), "2530548");
  EXPECT_EQ(check::KbNumberInName("stack-update.msu"), "");
  EXPECT_EQ(check::KbNumberInName("mkb12345.msu"), "");
}

}  // namespace
