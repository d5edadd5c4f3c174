// release-check --new and --add on a folder of packages made by Debian's tools.
#include <gtest/gtest.h>

#include "check/command.h"
#include "check/native_files.h"
#include "package_files.h"
#include "release/sha256.h"

namespace {

using namespace package_test;
using namespace std::string_literals;

class NewRelease : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("new-release-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    packages_ = root_ / "Pakete";
    release_ = root_ / "Update-Pack";
    fs::remove_all(root_);
    fs::create_directories(packages_ / "Updates");
    fs::copy_file(Made().msu_stored, packages_ / "Updates" / Made().msu_stored.filename());
    fs::copy_file(Made().msu_renamed_ssu,
                  packages_ / "Updates" / Made().msu_renamed_ssu.filename());
    fs::copy_file(Made().msi_1252, packages_ / Made().msi_1252.filename());
    fs::copy_file(Made().exe64, packages_ / "Werkzeug.exe");
    WriteAll(packages_ / "Liesmich.txt", "not a package");
    WriteAll(root_ / "Installer.exe", "MZ installer");
  }
  void TearDown() override { fs::remove_all(root_); }

  check::CommandResult Run(std::vector<std::string> args) {
    return check::RunCommand(args, check::OpenNativeFolder, &build_);
  }

  check::NativeBuildFiles build_;
  fs::path root_;
  fs::path packages_, release_;
};

TEST_F(NewRelease, WritesACheckedReleaseFromThePackages) {
  const auto result =
      Run({"--new", "--version", "2026.1", "--installer", (root_ / "Installer.exe").string(),
           packages_.string(), release_.string()});
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  const std::string settings = ReadAll(release_ / "Data" / "Settings.ini");
  const std::string msi_sha = release::Sha256Hex(ReadAll(Made().msi_1252));
  // The servicing stack update first, the rest by path.
  for (
      const std::string& part :
      {"[Main]\r\nName=Update-Pack\r\nVersion=2026.1\r\nFiles=4\r\n"s,
       "[File1]\r\nName=Wartungsstapelupdate für Windows 10 "
       "(KB5031539)\r\nFile=Updates\\stack-update.msu\r\n"
       "Parameters=/quiet /norestart\r\nDetect=KB5031539\r\n"s,
       "[File2]\r\nName=Prüfwerkzeug & Co 2.5.1\r\nFile=Pruefwerkzeug.msi\r\nParameters=/qn "
       "/norestart\r\n"
       "Detect=msi:{12345678-1234-1234-1234-123456789ABC}\r\nSha256=" +
           msi_sha + "\r\n",
       "[File3]\r\nName=Sicherheitsupdate für Windows 10 (KB5034441)\r\n"s,
       "[File4]\r\nName=Messwerkzeug für Prüfer 3.1.4.1\r\nFile=Werkzeug.exe\r\nParameters=\r\nSha256="s}) {
    EXPECT_NE(settings.find(part), std::string::npos) << part << "\nin\n" << settings;
  }
  EXPECT_EQ(ReadAll(release_ / "Data" / "Pruefwerkzeug.msi"), ReadAll(Made().msi_1252));
  EXPECT_EQ(ReadAll(release_ / "Installer.exe"), "MZ installer");
  EXPECT_NE(ReadAll(release_ / "Data" / "Language.ini").find("001=< Zurück\r\n"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(release_ / "Data" / "Liesmich.txt"));
  EXPECT_FALSE(fs::exists(root_ / ".Update-Pack.part"));
  for (
      const std::string& line :
      {"[File1] Updates\\stack-update.msu: KB5031539, x64, servicing stack, from its properties\n"s,
       "[File4] Werkzeug.exe: 64-bit program of unknown kind, Messwerkzeug für Prüfer 3.1.4.1; not told: its kind can't be told"s,
       "Data\\Settings.ini:"s,
       "[File4] Parameters: warning: the program starts without parameters"s,
       "release-check: 0 errors, 5 warnings\n"s}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << "\nin\n" << result.out;
  }
}

TEST_F(NewRelease, RefusesToOverwriteAndAddsOnlyWhatIsNew) {
  const std::string installer = (root_ / "Installer.exe").string();
  ASSERT_LE(
      Run({"--new", "--english", "--installer", installer, packages_.string(), release_.string()})
          .exit_code,
      1);
  EXPECT_NE(ReadAll(release_ / "Data" / "Language.ini").find("001=< Back\r\n"), std::string::npos);
  EXPECT_NE(ReadAll(release_ / "Data" / "Settings.ini")
                .find("Name=Servicing Stack Update for Windows 10 (KB5031539)"),
            std::string::npos);
  const std::string before = ReadAll(release_ / "Data" / "Settings.ini");
  auto result = Run({"--new", packages_.string(), release_.string()});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("nothing is ever overwritten"), std::string::npos) << result.err;
  EXPECT_EQ(ReadAll(release_ / "Data" / "Settings.ini"), before);

  // A damaged cabinet and a program are new; the rest is in the release already.
  WriteAll(packages_ / "windows10.0-kb5036892-x64_ffee.msu",
           ReadAll(Made().msu_mszip).substr(0, 2000));
  fs::copy_file(Made().exe32, packages_ / "Updates" / "Werkzeug32.exe");
  result = Run({"--add", "--english", packages_.string(), release_.string()});
  EXPECT_LE(result.exit_code, 1) << result.err;
  const std::string after = ReadAll(release_ / "Data" / "Settings.ini");
  const std::size_t files = before.find("Files=4");
  ASSERT_NE(files, std::string::npos);
  EXPECT_EQ(after.substr(0, files), before.substr(0, files));
  EXPECT_EQ(after.substr(files, 9), "Files=6\r\n");
  EXPECT_EQ(after.substr(files + 9, before.size() - files - 9), before.substr(files + 9));
  EXPECT_NE(after.find("\r\n[File6]\r\nName=Update for Windows 10 "
                       "(KB5036892)\r\nFile=windows10.0-kb5036892-x64_ffee.msu\r\n"),
            std::string::npos)
      << after;
  EXPECT_NE(after.find("\r\n[File5]\r\nName=Messwerkzeug für Prüfer "
                       "3.1.4.1\r\nFile=Updates\\Werkzeug32.exe\r\n"),
            std::string::npos);
  for (
      const std::string& line :
      {"Pruefwerkzeug.msi is in the release already: not added again\n"s,
       "[File6] windows10.0-kb5036892-x64_ffee.msu: KB5036892, x64, from its file name; not told: its properties can't be read (the file is cut short"s,
       "release-check: 2 packages added to "s}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << "\nin\n" << result.out;
  }
  // Again: nothing new, nothing written.
  result = Run({"--add", packages_.string(), release_.string()});
  EXPECT_NE(result.out.find("release-check: 0 packages added"), std::string::npos);
  EXPECT_EQ(ReadAll(release_ / "Data" / "Settings.ini"), after);
}

TEST_F(NewRelease, AddsToAnAnsiReleaseInItsOwnBytes) {
  fs::create_directories(release_ / "Data");
  const std::string before =
      "; Pr\xFC"
      "fpaket\r\n[Main]\r\nName=Pr\xFC"
      "fpaket\r\nFiles=0\r\nVersion=1";
  WriteAll(release_ / "Data" / "Settings.ini", before);
  const fs::path more = root_ / "Neu";
  fs::create_directories(more);
  fs::copy_file(Made().exe32, more / "Werkzeug.exe");
  fs::copy_file(Made().exe32, more / "\u03A9mega.exe");
  const auto result = Run({"--add", more.string(), release_.string()});
  EXPECT_NE(result.out.find("\u03A9mega.exe has letters that Settings.ini, written in ANSI, can't "
                            "hold: not added"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(ReadAll(release_ / "Data" / "Settings.ini"),
            "; Pr\xFC"
            "fpaket\r\n[Main]\r\nName=Pr\xFC"
            "fpaket\r\nFiles=1\r\nVersion=1\r\n\r\n[File1]\r\n"
            "Name=Messwerkzeug f\xFCr Pr\xFC"
            "fer 3.1.4.1\r\nFile=Werkzeug.exe\r\nParameters=\r\nSha256=" +
                release::Sha256Hex(ReadAll(Made().exe32)) + "\r\n");
  EXPECT_FALSE(fs::exists(release_ / "Data" / "\u03A9mega.exe"));
}

}  // namespace
