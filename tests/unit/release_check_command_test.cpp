// release-check's command line: exit codes, the text and JSON reports, and the
// checksums it writes into Settings.ini.
#include <gtest/gtest.h>

#include "check/command.h"
#include "check/native_files.h"
#include "release/sha256.h"
#include "release_check_fixture.h"

namespace release_check_test {
namespace {

TEST_F(ReleaseCheck, CommandLineExitCodes) {
  const auto run = [](const std::vector<std::string>& args) {
    return check::RunCommand(args, check::OpenNativeFolder);
  };
  const std::string folder = root_.string();
  auto result = run({folder});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "release-check: no problems found\n");

  fs::remove(root_ / "Readme.txt");  // a warning
  EXPECT_EQ(run({folder}).exit_code, 0);
  result = run({"--strict", folder});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out,
            "Readme.txt: error: Readme.txt is missing beside Installer.exe: the About dialog's "
            "Readme button opens Notepad on nothing — fix: put the release's read-me beside "
            "Installer.exe as Readme.txt\n"
            "release-check: 1 error, 0 warnings\n");

  Replace("Data/Settings.ini", "Files=2", "Files=\"zwei\\drei\"");
  result = run({(root_ / "Data").string(), "--json"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(Has(result.out,
                  "{\"id\": \"files-not-a-number\", \"severity\": \"error\", "
                  "\"file\": \"Data\\\\Settings.ini\", \"line\": 3, \"section\": "
                  "\"Main\", \"key\": \"Files\", \"message\": \"Files=zwei\\\\drei is "
                  "not a number: the installer stops at start with \\\"'zwei\\\\drei' "
                  "ist kein gültiger Integerwert\\\"\""))
      << result.out;
  EXPECT_EQ(result.out.front(), '[');
  EXPECT_EQ(result.out.substr(result.out.size() - 2), "]\n");

  EXPECT_EQ(run({(root_ / "nothing").string()}).exit_code, 2);
  EXPECT_EQ(run({(root_ / "Data" / "Updates").string()}).exit_code, 2);
  EXPECT_EQ(run({}).exit_code, 2);
  EXPECT_EQ(run({"--fast", folder}).exit_code, 2);
}

TEST_F(ReleaseCheck, UpdateSha256AddsTheChecksumsAndTheReleaseThenPassesStrict) {
  const auto run = [](const std::vector<std::string>& args) {
    return check::RunCommand(args, check::OpenNativeFolder);
  };
  const std::string folder = root_.string();
  fs::permissions(root_ / "Data" / "Settings.ini", fs::perms(0640));
  auto result = run({"--update-sha256", folder});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "Data\\Settings.ini:27 [File1] Sha256: added\n"
            "Data\\Settings.ini:32 [File2] Sha256: added\n"
            "release-check: Sha256 added to 2 packages, refreshed in 0, unchanged in 0\n");
  EXPECT_TRUE(
      Has(ReadBack("Data/Settings.ini"), "Restart=1\r\nSha256=" + kMzDigest + "\r\n[File2]\r\n"));
  EXPECT_EQ(fs::status(root_ / "Data" / "Settings.ini").permissions(), fs::perms(0640));
  EXPECT_FALSE(fs::exists(root_ / "Data" / "Settings.ini.new"));
  result = run({"--strict", folder});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "release-check: no problems found\n");

  // Again: nothing to do, nothing written.
  const std::string written = ReadBack("Data/Settings.ini");
  EXPECT_EQ(run({"--update-sha256", folder}).out,
            "release-check: Sha256 added to 0 packages, refreshed in 0, unchanged in 2\n");
  EXPECT_EQ(ReadBack("Data/Settings.ini"), written);

  // A package file replaced: the check finds it, and the update takes the new file.
  Write("Data/Werkzeug.msi", "MSI 2");
  EXPECT_EQ(Ids(), std::multiset<std::string>{"sha256-mismatch"});
  result = run({"--update-sha256", (root_ / "Data").string()});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "Data\\Settings.ini:32 [File2] Sha256: refreshed, was " +
                            release::Sha256Hex("MSI") +
                            "\n"
                            "release-check: Sha256 added to 0 packages, refreshed in 1, unchanged "
                            "in 1\n");
  EXPECT_TRUE(Check().empty());
}

TEST_F(ReleaseCheck, UpdateSha256NamesAFileItCannotReadAtItsLineAfterTheChange) {
  fs::remove(root_ / "Data" / "Werkzeug.msi");
  const auto result =
      check::RunCommand({"--update-sha256", root_.string()}, check::OpenNativeFolder);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out,
            "Data\\Settings.ini:30 [File2] File: error: package file \"Werkzeug.msi\" can't be "
            "read (No such file or directory): its Sha256 stays as it was — fix: put the file "
            "into Data, or correct the path\n"
            "Data\\Settings.ini:27 [File1] Sha256: added\n"
            "release-check: Sha256 added to 1 package, refreshed in 0, unchanged in 0; 1 package "
            "file not read\n");
  EXPECT_EQ(Ids(), (std::multiset<std::string>{"package-file-missing"}));
}

TEST_F(ReleaseCheck, UpdateSha256LeavesTheReleaseAsItWasWhenItCannotWrite) {
  const std::string before = ReadBack("Data/Settings.ini");
  fs::create_directory(root_ / "Data" / "Settings.ini.new");  // where the new file would go
  const auto result =
      check::RunCommand({"--update-sha256", root_.string()}, check::OpenNativeFolder);
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "release-check: Data\\Settings.ini can't be written: Is a directory\n");
  EXPECT_EQ(ReadBack("Data/Settings.ini"), before);
  fs::remove(root_ / "Data" / "Settings.ini.new");
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("[Main]\r\nFiles=1\r\n[File1]\r\nFile=Werkzeug.msi")) {
    utf16 += c;
    utf16 += '\0';
  }
  Write("Data/Settings.ini", utf16 + "x");
  EXPECT_EQ(check::RunCommand({"--update-sha256", root_.string()}, check::OpenNativeFolder).err,
            "release-check: Data\\Settings.ini is UTF-16 with an odd number of bytes: its last "
            "character is cut off: mend it, then write the checksums\n");
  EXPECT_EQ(ReadBack("Data/Settings.ini"), utf16 + "x");
  EXPECT_EQ(
      check::RunCommand({"--update-sha256", "--json", root_.string()}, check::OpenNativeFolder)
          .exit_code,
      2);
}

TEST(ReleaseCheckFormat, OneLineWithPlaceSeverityAndFix) {
  Finding f{"x",    Severity::Warning, "Data\\Settings.ini", 12, "File3", "File", "bad\nvalue",
            "do it"};
  EXPECT_EQ(check::FormatText(f),
            "Data\\Settings.ini:12 [File3] File: warning: bad value — fix: do it");
  f.line = 0;
  f.key.clear();
  EXPECT_EQ(check::FormatText(f), "Data\\Settings.ini [File3]: warning: bad value — fix: do it");
  EXPECT_EQ(check::FormatJson({}), "[]\n");
  f.message = "tab\there \x01";
  EXPECT_TRUE(Has(check::FormatJson({f}), "\"message\": \"tab\\there \\u0001\""));
}

}  // namespace
}  // namespace release_check_test
