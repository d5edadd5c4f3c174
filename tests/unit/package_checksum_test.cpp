// A package's Sha256=: the file hashed on the worker right before it starts,
// a damaged one not started and named on the finish page and in the log,
// and a package without a checksum read by nobody but its installer.
#include <gtest/gtest.h>

#include <set>

#include "engine/package_runner.h"
#include "finish/finish_page.h"
#include "release/sha256.h"
#include "release_fixture.h"

namespace {

using engine::PackageState;

const char kPath[] = "C:\\Setup\\Data\\a.exe";

class PackageChecksum : public ::testing::Test {
 protected:
  PackageChecksum() { system.files[kPath] = std::string(200000, 'p'); }

  engine::PackageOutcome Run(const std::string& sha256, const std::string& file = kPath) {
    return engine::RunPackage(system, file, sha256, "/q", "C:\\Setup\\data\\setuptemp",
                              release::OsIndex::Windows7);
  }
  std::string Digest() const { return release::Sha256Hex(system.files.at(kPath)); }

  test::FakeSystem system;
};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

TEST_F(PackageChecksum, IntactFileIsReadOnceInBlocksAndStarts) {
  system.read_block_size = 4096;
  for (const std::string& sha256 : {Digest(), Upper(Digest())}) {
    system.block_reads.clear();
    const engine::PackageOutcome outcome = Run(sha256);
    EXPECT_EQ(outcome.state, PackageState::Installed) << sha256;
    EXPECT_TRUE(outcome.started);
    EXPECT_EQ(outcome.damaged_sha256, "");
    EXPECT_EQ(system.block_reads, std::vector<std::string>{kPath});
  }
  EXPECT_EQ(system.runs.size(), 2u);
}

TEST_F(PackageChecksum, WithoutAChecksumNothingReadsTheFile) {
  EXPECT_EQ(Run("").state, PackageState::Installed);
  EXPECT_TRUE(system.block_reads.empty());
}

// Point 4: whoever may write Data can't swap the file between its checksum and its end.
TEST_F(PackageChecksum, Point4TheHashedFileIsHeldUntilItsInstallerHasEnded) {
  ASSERT_EQ(Run(Digest()).state, PackageState::Installed);
  ASSERT_EQ(system.runs.size(), 1u);
  EXPECT_EQ(system.runs[0].held_files, std::multiset<std::string>{kPath});
  EXPECT_TRUE(system.held_files.empty());  // let go once it ended
  system.files[kPath].back() = 'q';
  EXPECT_EQ(Run(Digest().replace(0, 1, Digest()[0] == '0' ? "1" : "0")).state,
            PackageState::NotStarted);
  EXPECT_TRUE(system.held_files.empty());  // and when it was refused
}

TEST_F(PackageChecksum, ChangedFileIsNotStartedAndItsChecksumIsKept) {
  const std::string intact = Digest();
  system.files[kPath].back() = 'q';  // one byte at the end: a copy cut short looks alike
  const engine::PackageOutcome outcome = Run(intact);
  EXPECT_EQ(outcome.state, PackageState::NotStarted);
  EXPECT_FALSE(outcome.started);
  EXPECT_EQ(outcome.damaged_sha256, Digest());
  EXPECT_NE(outcome.damaged_sha256, intact);
  EXPECT_TRUE(system.runs.empty());
}

TEST_F(PackageChecksum, MalformedChecksumStartsNothingAndReadsNothing) {
  const std::string digest = Digest();
  for (const std::string& sha256 :
       {digest.substr(1), digest + "0", "sha256:" + digest, digest.substr(0, 63) + "x"}) {
    const engine::PackageOutcome outcome = Run(sha256);
    EXPECT_EQ(outcome.state, PackageState::NotStarted) << sha256;
    EXPECT_EQ(outcome.reason,
              "Sha256=" + sha256 + " ist keine SHA-256-Prüfsumme aus 64 Hexadezimalziffern.");
    EXPECT_EQ(outcome.damaged_sha256, "");
  }
  EXPECT_TRUE(system.block_reads.empty());
  EXPECT_TRUE(system.runs.empty());
}

TEST_F(PackageChecksum, UnreadableFileIsNotStartedWithTheSystemsReason) {
  system.read_failures[kPath] = "Zugriff verweigert";
  const engine::PackageOutcome outcome = Run(Digest());
  EXPECT_EQ(outcome.state, PackageState::NotStarted);
  EXPECT_EQ(outcome.reason,
            std::string("Die Datei ") + kPath + " lässt sich nicht lesen: Zugriff verweigert.");
  EXPECT_TRUE(system.runs.empty());
}

// Only a package about to start is hashed: a missing one, one of no kind
// the system runs and one recorded as installed are not read.
TEST_F(PackageChecksum, PackagesThatWouldNotStartAreNotHashed) {
  EXPECT_EQ(Run(Digest(), "C:\\Setup\\Data\\gone.exe").state, PackageState::NotStarted);
  system.files["C:\\Setup\\Data\\u.msu"] = "x";
  EXPECT_EQ(engine::RunPackage(system, "C:\\Setup\\Data\\u.msu", Digest(), "", "",
                               release::OsIndex::WindowsXP)
                .state,
            PackageState::NotStarted);
  system.files["C:\\Setup\\Data\\IE7-WindowsXP-x86-deu.exe"] = "x";
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP"] = {"SP0"};
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP\\SP0"] = {"ie7"};
  EXPECT_EQ(engine::RunPackage(system, "C:\\Setup\\Data\\IE7-WindowsXP-x86-deu.exe", Digest(), "",
                               "", release::OsIndex::WindowsXP)
                .state,
            PackageState::AlreadyInstalled);
  EXPECT_TRUE(system.block_reads.empty());
}

// The whole program: a damaged package in the middle of three.
class DamagedPackage : public test::ReleaseFixture {
 protected:
  void RunWith(const std::string& language_line) {
    const std::string wrong(64, '0');
    UseRelease(
        3, "",
        {{1, "Sha256=" + release::Sha256Hex(std::string(1234567, 'x'))}, {2, "Sha256=" + wrong}});
    if (!language_line.empty()) system.files[Data("Language.ini")] += language_line + "\n";
    StartAndDecide();
    Pages().FWillkommen->BWeiter.Click();
    while (system.FinishWorker()) {
    }
  }
  const finish::TFEnde& Finish() { return *Pages().FEnde; }
  std::string Log() { return system.files["C:\\Temp\\Installer.log"]; }
};

TEST_F(DamagedPackage, IsNotStartedTheOthersRunAndTheRunEndsAsFailed) {
  RunWith("");
  ASSERT_EQ(system.runs.size(), 2u);
  EXPECT_NE(system.runs[0].command_line.find("pkg1.exe"), std::string::npos);
  EXPECT_NE(system.runs[1].command_line.find("pkg3.exe"), std::string::npos);
  EXPECT_EQ(system.block_reads,
            (std::vector<std::string>{Data("pkg1.exe"), Data("pkg2.exe")}));  // not pkg3.exe

  ASSERT_TRUE(Finish().Visible());
  EXPECT_NE(Finish().LText.Caption().find("\r- Package 2 (nicht gestartet: Die Datei ist "
                                          "beschädigt oder wurde verändert)\r"),
            std::string::npos)
      << Finish().LText.Caption();
  EXPECT_EQ(main->context.Run().ExitCode(), 1603);

  const std::string log = Log();
  const std::string line =
      "Paket 2 (Package 2): nicht gestartet: Die Datei ist beschädigt oder "
      "wurde verändert (SHA-256 der Datei: " +
      release::Sha256Hex(std::string(1234567, 'x')) + ", in Settings.ini: " + std::string(64, '0') +
      ")";
  EXPECT_NE(log.find(line), std::string::npos) << log;
  EXPECT_NE(log.find("Paket 1 (Package 1): installiert, Exitcode 0 (0x00000000)"),
            std::string::npos)
      << log;
}

TEST_F(DamagedPackage, IsNamedInTheReleasesWords) {
  RunWith("080=not started\n112=The file is damaged or was changed");
  EXPECT_NE(Finish().LText.Caption().find(
                "\r- Package 2 (not started: The file is damaged or was changed)\r"),
            std::string::npos)
      << Finish().LText.Caption();
  EXPECT_NE(Log().find("Paket 2 (Package 2): nicht gestartet: The file is damaged or was changed "
                       "(SHA-256 der Datei: "),
            std::string::npos)
      << Log();
}

}  // namespace
