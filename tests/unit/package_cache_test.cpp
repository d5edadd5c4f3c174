// The package cache: a release on a share is copied package by package into
// the run's state folder, hashed on the way, one package ahead of the one
// that installs, and waited for when the share is away for a moment.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/package_cache.h"
#include "package_files.h"
#include "release/ini_file.h"
#include "release/sha256.h"
#include "release_fixture.h"

namespace {

using Kind = platform::System::DriveKind;

constexpr char kShare[] = "\\\\srv\\rel\\";
constexpr char kCopies[] = "C:\\Cache\\";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// --- One package's copy ---

class PackageCopying : public ::testing::Test {
 protected:
  PackageCopying() { system.read_block_size = 4; }

  engine::PackageCopy Copy(const std::string& file, bool whole_folder) {
    engine::PackageCopy copy;
    copy.source = kShare + file;
    copy.source_folder = copy.source.substr(0, copy.source.rfind('\\') + 1);
    copy.whole_folder = whole_folder;
    copy.folder = std::string(kCopies) + "1\\";
    return copy;
  }

  test::FakeSystem system;
};

// What goes with a package: its folder's files when it lies alone there,
// else itself alone, an .msi with the cabinets it names outside itself; each
// byte read once, and the package hashed on the way.
TEST_F(PackageCopying, CopiesThePackageWithItsCompanionsReadingEachByteOnce) {
  const std::string msi = package_test::ReadAll(package_test::Made().msi_external);
  system.read_block_size = 1 << 16;
  system.files[std::string(kShare) + "Tool\\setup.exe"] = "MZ setup of ten";
  system.files[std::string(kShare) + "Tool\\data1.cab"] = "cabinet";
  system.files[std::string(kShare) + "Tool\\Lang\\de.dll"] = "words";
  system.files[std::string(kShare) + "Apps\\app.msi"] = msi;
  system.files[std::string(kShare) + "Apps\\disk1.cab"] = "disk 1";
  system.files[std::string(kShare) + "Apps\\Datentr\xc3\xa4ger 4.cab"] = "disk 4";
  system.files[std::string(kShare) + "Apps\\other.msi"] = "another package";
  struct Case {
    std::string package;
    bool whole_folder;
    std::vector<std::string> copied;  // the package first
  };
  for (const Case& c :
       {Case{"Tool\\setup.exe", true, {"setup.exe", "data1.cab", "Lang\\de.dll"}},
        Case{"Tool\\setup.exe", false, {"setup.exe"}},
        Case{"Apps\\app.msi", false, {"app.msi", "disk1.cab", "Datentr\xc3\xa4ger 4.cab"}}}) {
    SCOPED_TRACE(c.package);
    system.copies.clear();
    engine::PackageCopy copy = Copy(c.package, c.whole_folder);
    ASSERT_TRUE(engine::ContinueCopy(system, copy)) << copy.failure;
    EXPECT_TRUE(copy.Complete());
    EXPECT_EQ(copy.Package(), "C:\\Cache\\1\\" + c.copied.front());
    EXPECT_EQ(copy.sha256, release::Sha256Hex(system.files[kShare + c.package]));
    EXPECT_EQ(system.held_files.count(copy.Package()), 1u);
    std::vector<std::string> copied;
    for (const auto& made : system.copies) {
      EXPECT_EQ(made.offset, 0u);
      EXPECT_EQ(made.bytes, system.files[made.from].size()) << made.from;
      EXPECT_EQ(system.files[made.to], system.files[made.from]);
      copied.push_back(made.to.substr(std::string("C:\\Cache\\1\\").size()));
    }
    std::vector<std::string> expected = c.copied;
    std::sort(copied.begin() + 1, copied.end());
    std::sort(expected.begin() + 1, expected.end());
    EXPECT_EQ(copied, expected);
    copy.hold.reset();  // lets the copy go
  }
}

// A share that goes away in the middle: the next try goes on where the last
// stopped, and the hash covers every byte once.
TEST_F(PackageCopying, ACopyThatStopsGoesOnWhereItStopped) {
  const std::string bytes = "0123456789abcdefghij";
  system.files[std::string(kShare) + "pkg.msi"] = bytes;
  system.copy_breaks[std::string(kShare) + "pkg.msi"] = 9;
  engine::PackageCopy copy = Copy("pkg.msi", false);
  EXPECT_FALSE(engine::ContinueCopy(system, copy));
  EXPECT_EQ(copy.failure, "Der Netzwerkpfad wurde nicht gefunden.");
  EXPECT_FALSE(copy.Complete());
  EXPECT_TRUE(system.held_files.empty());
  system.away.insert(kShare);
  EXPECT_FALSE(engine::ContinueCopy(system, copy));
  system.away.clear();
  ASSERT_TRUE(engine::ContinueCopy(system, copy)) << copy.failure;
  ASSERT_EQ(system.copies.size(), 2u);
  EXPECT_EQ(system.copies[1].offset, system.copies[0].bytes);
  EXPECT_EQ(system.copies[0].bytes + system.copies[1].bytes, bytes.size());
  EXPECT_EQ(system.files["C:\\Cache\\1\\pkg.msi"], bytes);
  EXPECT_EQ(copy.sha256, release::Sha256Hex(bytes));
}

TEST_F(PackageCopying, TooLittleRoomCopiesNothingAndSaysWhy) {
  system.files[std::string(kShare) + "pkg.msi"] = "bytes";
  system.free_space = engine::kCacheSpaceMargin;  // the margin, not the package
  engine::PackageCopy copy = Copy("pkg.msi", false);
  EXPECT_TRUE(engine::ContinueCopy(system, copy));
  EXPECT_FALSE(copy.Complete());
  EXPECT_TRUE(system.copies.empty());
  EXPECT_EQ(copy.no_room, "auf C:\\ sind 100 MB frei, die Kopie braucht 1 MB und 100 MB Reserve");
}

TEST(PackageCache, APackageAloneInItsFolderTakesTheFolderAlong) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"top.exe", false},                                  // directly in Data
      {"Tool\\setup.exe", true},                           // alone in Tool
      {"Pair/a.msi", false},                               // shares Pair with the next
      {"pair\\b.msi", false},     {"Deep\\x.exe", false},  // a package lies in a folder below it
      {"Deep\\Sub\\y.exe", true},
  };
  test::FakeSystem system;
  std::string settings = "[Main]\nFiles=" + std::to_string(cases.size()) + "\n";
  for (std::size_t i = 0; i < cases.size(); ++i)
    settings += "[File" + std::to_string(i + 1) + "]\nFile=" + cases[i].first + "\n";
  system.files["C:\\R\\Settings.ini"] = settings;
  release::PackageTable packages;
  release::LoadPackageTable(release::IniFile::Load(system, "C:\\R\\Settings.ini"),
                            std::to_string(cases.size()), packages);
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(engine::AloneInItsFolder(packages, static_cast<int>(i + 1)), cases[i].second)
        << cases[i].first;
}

// --- A run from a share ---

class CachedRun : public test::ReleaseFixture {
 protected:
  static constexpr const char* kCache = "C:\\ProgramData\\UpdatePackages\\Pack\\Cache\\";

  CachedRun() {
    system.drive_kinds[kFolder] = Kind::Network;
    system.files[std::string(kFolder) + "Installer.exe"] = "MZ the program";
    system.folders.insert(std::string(kFolder) + "Data\\");
    system.elevated = true;
  }

  void StartSilent(int packages, const std::map<int, std::string>& extra = {}) {
    UseRelease(packages, "", extra);
    system.arguments = {"/silent", "/norestart"};
    StartAndDecide();
  }
  std::string Log() {
    for (const auto& [path, bytes] : system.files)
      if (Contains(path, "Installer.log")) return bytes;
    return {};
  }
  bool CacheEmpty() {
    for (const auto& [path, bytes] : system.files)
      if (path.rfind(kCache, 0) == 0) return false;
    return true;
  }
  engine::TFKopieren& Page() { return *main->context.forms.FKopieren; }
};

// Each package starts from its copy in its copy's folder; the next one is
// copied while it runs; nothing is left when the run is over.
TEST_F(CachedRun, EachPackageRunsFromItsCopyAndTheNextIsCopiedMeanwhile) {
  StartSilent(3, {{2, "Sha256=" + release::Sha256Hex(std::string(1234567, 'x'))}});
  for (int i = 0; i < 3; ++i) FinishPackage();
  ASSERT_EQ(system.runs.size(), 3u);
  for (int i = 1; i <= 3; ++i) {
    const std::string folder = std::string(kCache) + std::to_string(i) + "\\";
    const auto& run = system.runs[i - 1];
    EXPECT_TRUE(Contains(run.command_line, folder + "pkg" + std::to_string(i) + ".exe"))
        << run.command_line;
    EXPECT_EQ(run.working_folder, folder);
    EXPECT_EQ(run.held_files.count(folder + "pkg" + std::to_string(i) + ".exe"), 1u);
    // One ahead: the next package's copy is made while this one runs.
    EXPECT_EQ(run.held_files.size(), 1u) << i;
  }
  ASSERT_EQ(system.copies.size(), 3u);  // each byte once, the checksum included
  EXPECT_TRUE(Contains(system.copies[1].from, "pkg2.exe"));
  EXPECT_TRUE(system.block_reads.empty());
  EXPECT_TRUE(CacheEmpty());
  EXPECT_TRUE(Contains(
      Log(), "Paket 2 (Package 2): lief aus der Kopie " + std::string(kCache) + "2\\pkg2.exe"))
      << Log();
  EXPECT_EQ(main->context.Run().ExitCode(), 0);
}

// A package found installed by its rule is never copied.
TEST_F(CachedRun, APackageFoundInstalledIsNotCopied) {
  const std::string store =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";
  const std::string package = "Package_for_KB2~31bf3856ad364e35~amd64~~6.1.1.0";
  system.machine_keys[store] = {package};
  system.machine_values[store + "\\" + package]["CurrentState"] = std::uint32_t{112};
  StartSilent(3, {{2, "Detect=KB2"}});
  while (system.FinishWorker()) {
  }
  for (const auto& made : system.copies) EXPECT_FALSE(Contains(made.from, "pkg2")) << made.from;
  EXPECT_EQ(system.runs.size(), 2u);
}

// The share is away when package 2 is to be copied: the page waits, says
// so, and goes on when it is back; a share that does not come back within
// ten minutes leaves the package not started, and later ones wait no more.
class ShareAway : public CachedRun, public ::testing::WithParamInterface<bool> {};

TEST_P(ShareAway, IsWaitedForUpToTenMinutes) {
  const bool back = GetParam();
  system.copy_breaks[Data("pkg2.exe")] = 1000;  // the copy ahead stops short
  StartSilent(3);
  FinishPackage();
  system.away.insert(kFolder);
  FinishPackage();  // package 2's own worker: the copy fails
  EXPECT_TRUE(Page().TQuelle.Enabled());
  EXPECT_EQ(Page().LKopierStatus.Caption(), "Warte auf den Ordner der Installation: C:\\Release\\");
  EXPECT_EQ(system.runs.size(), 1u);
  EXPECT_TRUE(Contains(Log(), "Paket 2 (Package 2): Kopie unterbrochen")) << Log();
  for (int second = 0; second < 30; ++second) Page().TQuelle.Tick();
  EXPECT_TRUE(Page().TQuelle.Enabled());
  if (back) system.away.clear();
  for (int second = 0; second < 600 && Page().TQuelle.Enabled(); ++second) Page().TQuelle.Tick();
  while (system.FinishWorker()) {
  }
  EXPECT_FALSE(Page().TQuelle.Enabled());
  EXPECT_EQ(system.runs.size(), back ? 3u : 1u);
  if (back) {  // package 2's copy went on where the copy ahead had stopped
    EXPECT_EQ(system.copies[1].bytes, 1000u);
    EXPECT_EQ(system.copies[2].offset, 1000u);
  }
  EXPECT_EQ(main->context.Run().ExitCode(), back ? 0 : 1603);
  if (!back) {
    EXPECT_TRUE(Contains(Log(),
                         "Paket 3 (Package 3): nicht gestartet: Der Ordner der "
                         "Installation ist nicht erreichbar"))
        << Log();
  }
  EXPECT_TRUE(CacheEmpty());
}

INSTANTIATE_TEST_SUITE_P(BackOrNot, ShareAway, ::testing::Bool());

// A package that demands a restart keeps its copy until the run is over: what
// it left for after the restart may need its files.
TEST_F(CachedRun, ACopyARestartMayNeedStaysUntilTheRunEnds) {
  StartSilent(3, {{1, "Restart=1"}});
  FinishPackage();  // the run stops for the restart (/norestart)
  EXPECT_TRUE(system.FileExists(std::string(kCache) + "1\\pkg1.exe"));
  EXPECT_TRUE(system.FileExists(std::string(kCache) + "2\\pkg2.exe"));  // copied ahead
  system.arguments = {"/norestart"};
  test::Program continued{system};
  continued.Start().TStart.Tick();
  while (system.FinishWorker()) {
  }
  EXPECT_EQ(system.runs.size(), 3u);
  EXPECT_TRUE(CacheEmpty());
}

}  // namespace
