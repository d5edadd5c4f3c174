// The checks of the packages: their files and paths, kinds, checksums, the values
// of their sections and their detection rules.
#include <gtest/gtest.h>

#include "release/sha256.h"
#include "release_check_fixture.h"

namespace release_check_test {
namespace {

// --- Packages -------------------------------------------------------------

TEST_F(ReleaseCheck, PackageFileMissing) {
  Replace("Data/Settings.ini", "File=Werkzeug.msi", "File=Werkzeuge\\Fehlt.msi");
  const Finding f = Only("package-file-missing");
  EXPECT_EQ(f.section, "File2");
  EXPECT_EQ(f.key, "File");
  EXPECT_EQ(f.line, 29);
}

TEST_F(ReleaseCheck, PackageFileFoundInAnyLetterCase) {
  Replace("Data/Settings.ini", "File=Updates\\KB1.exe", "File=updates/kb1.EXE");
  EXPECT_TRUE(Check().empty());
}

TEST_F(ReleaseCheck, PackageFileIsAFolder) {
  Replace("Data/Settings.ini", "File=Werkzeug.msi", "File=Updates");
  EXPECT_EQ(Ids(), (std::multiset<std::string>{"package-file-is-folder", "package-kind-unknown"}));
}

TEST_F(ReleaseCheck, PackageFileEmpty) {
  Replace("Data/Settings.ini", "File=Werkzeug.msi", "File=");
  Only("package-file-empty");
}

TEST_F(ReleaseCheck, PackagePathAbsolute) {
  Replace("Data/Settings.ini", "File=Werkzeug.msi", "File=C:\\Pakete\\Werkzeug.msi");
  EXPECT_TRUE(Has(Only("package-path-absolute").message, "Data\\C:\\Pakete\\Werkzeug.msi"));
}

TEST_F(ReleaseCheck, PackagePathOutsideData) {
  Write("Neben.exe", "MZ");
  Replace("Data/Settings.ini", "File=Werkzeug.msi", "File=..\\Neben.exe");
  EXPECT_EQ(Only("package-path-outside-data").severity, Severity::Warning);
}

TEST_F(ReleaseCheck, PackageOfAKindNoSystemRuns) {
  Write("Data/Werkzeug.zip", "PK");
  Replace("Data/Settings.ini", "File=Werkzeug.msi", "File=Werkzeug.zip");
  EXPECT_EQ(Only("package-kind-unknown").severity, Severity::Error);
}

TEST_F(ReleaseCheck, MsuPackageIsPassedOverOnOlderSystems) {
  Write("Data/Werkzeug.MSU", "MSU");
  Replace("Data/Settings.ini", "File=Werkzeug.msi", "File=Werkzeug.MSU");
  const Finding f = Only("package-kind-skipped");
  EXPECT_TRUE(Has(f.message,
                  "passed over on Microsoft Windows XP and Microsoft Windows Server "
                  "2003:"))
      << f.message;
}

TEST_F(ReleaseCheck, TemporaryFolderSpeltOtherwise) {
  Replace(
      "Data/Settings.ini", "Parameters=/qn",
      "Parameters=/qn /l*v {temp}\\a.log /b %TEMP%\\b /c {TMP}\\c /d C:\\Temp\\d /tempdir:{tmp");
  std::vector<std::string> tokens;
  for (const Finding& f : Check()) {
    EXPECT_EQ(f.id, "tmp-misspelt");
    tokens.push_back(f.message.substr(0, f.message.find(" is passed")));
  }
  EXPECT_EQ(tokens, (std::vector<std::string>{"\"{temp}\"", "\"%TEMP%\"", "\"{tmp\""}));
}

// --- Checksums --------------------------------------------------------------

TEST_F(ReleaseCheck, ChecksumOfThePackageFileInEitherLetterCase) {
  std::string upper = kMzDigest;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Replace("Data/Settings.ini", "Restart=1\n", "Restart=1\nSha256=" + upper + "\n");
  EXPECT_TRUE(Check().empty()) << check::FormatText(Check().front());
  Replace("Data/Settings.ini", "Sha256=" + upper, "Sha256=");  // empty: not checked
  EXPECT_TRUE(Check().empty()) << check::FormatText(Check().front());
}

TEST_F(ReleaseCheck, ChecksumThatDoesNotMatchTheFile) {
  Replace("Data/Settings.ini", "Restart=1\n", "Restart=1\nSha256=" + kMzDigest + "\n");
  Write("Data/Updates/KB1.exe", "MZ, cut sh");
  const Finding f = Only("sha256-mismatch");
  EXPECT_EQ(f.severity, Severity::Error);
  EXPECT_EQ(f.line, 27);
  EXPECT_EQ(f.section, "File1");
  EXPECT_EQ(f.key, "Sha256");
  EXPECT_EQ(f.message, "the SHA-256 of \"Updates\\KB1.exe\" is " +
                           release::Sha256Hex("MZ, cut sh") + ", not " + kMzDigest +
                           ": the installer takes the file for damaged, does not start it, and "
                           "the run ends as failed");
  EXPECT_TRUE(Has(f.fix, "release-check --update-sha256")) << f.fix;
}

TEST_F(ReleaseCheck, ChecksumThatIsNoChecksum) {
  for (const std::string& value : {kMzDigest.substr(1), "sha256:" + kMzDigest, "0x1F"s}) {
    Replace("Data/Settings.ini", "Parameters=/qn\n", "Parameters=/qn\nSha256=" + value + "\n");
    const Finding f = Only("sha256-malformed");
    EXPECT_EQ(f.section, "File2");
    EXPECT_TRUE(Has(f.message, "is no SHA-256 checksum of 64 hexadecimal digits")) << f.message;
    Replace("Data/Settings.ini", "Sha256=" + value + "\n", "");
  }
}

// The file that is not there is named once, as missing.
TEST_F(ReleaseCheck, ChecksumOfAMissingFileIsNotReported) {
  Replace("Data/Settings.ini", "Parameters=/qn\n", "Parameters=/qn\nSha256=" + kMzDigest + "\n");
  fs::remove(root_ / "Data" / "Werkzeug.msi");
  Only("package-file-missing");
}

// --- One value of a section ------------------------------------------------

struct PackageCase {
  const char* name;
  const char* from;
  const char* to;
  const char* id;
  const char* key;
};

class ReleaseCheckPackages : public ReleaseCheck,
                             public ::testing::WithParamInterface<PackageCase> {};

TEST_P(ReleaseCheckPackages, OneWarning) {
  const PackageCase& c = GetParam();
  Replace("Data/Settings.ini", c.from, c.to);
  const Finding f = Only(c.id);
  EXPECT_EQ(f.severity, Severity::Warning);
  EXPECT_EQ(f.key, c.key);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ReleaseCheckPackages,
    ::testing::Values(
        PackageCase{"LogfileAbsolute", "Logfile=KB1.log", "Logfile=C:\\Logs\\KB1.log",
                    "logfile-outside-windows", "Logfile"},
        PackageCase{"LogfileClimbsOut", "Logfile=KB1.log", "Logfile=..\\KB1.log",
                    "logfile-outside-windows", "Logfile"},
        PackageCase{"RestartYes", "Restart=1", "Restart=yes", "restart-not-one", "Restart"},
        PackageCase{"LinkWithoutScheme", "Link=https://example.com/kb1", "Link=example.com/kb1",
                    "link-without-scheme", "Link"},
        PackageCase{"LinkToAFile", "Link=https://example.com/kb1",
                    "Link=file://server/share/kb1.txt", "link-not-web", "Link"},
        PackageCase{"PackageWithoutName", "Name=Werkzeug", "Name=", "package-name-empty", "Name"},
        PackageCase{"TwinPackages", "File=Werkzeug.msi\nParameters=/qn",
                    "File=updates\\KB1.exe\nParameters=/quiet /log:{tmp}\\kb1.log",
                    "package-duplicate", "File"},
        PackageCase{"WebsiteWithoutScheme", "Website=https://example.com",
                    "Website=www.example.com", "website-without-scheme", "Website"},
        PackageCase{"WebsiteOfAnotherScheme", "Website=https://example.com",
                    "Website=ms-settings://windowsupdate", "website-not-web", "Website"},
        PackageCase{"ReleaseWithoutName", "Name=Prüfpaket", "Name=", "name-empty", "Name"},
        PackageCase{"ReleaseWithEmptyVersion", "Version=1.0", "Version=", "version-empty",
                    "Version"},
        PackageCase{"SwitchWord", "AutoReboot=0", "AutoReboot=yes", "switch-not-a-number",
                    "AutoReboot"}),
    [](const ::testing::TestParamInfo<PackageCase>& info) { return info.param.name; });

// --- Detection rules --------------------------------------------------------

TEST_F(ReleaseCheck, DetectionRulesOfEveryKindPass) {
  Replace("Data/Settings.ini", "Restart=1\n", "Restart=1\nDetect=KB2533623\n");
  Replace("Data/Settings.ini", "File=Werkzeug.msi\n",
          "File=Werkzeug.msi\nDetect=msi:{0A1B2C3D-4E5F-6789-ABCD-EF0123456789}\n");
  EXPECT_TRUE(Check().empty());
  for (const char* rule :
       {"file:%SystemRoot%\\System32\\a.dll>=6.1.7601.24000", "reg:HKLM\\SOFTWARE\\Vendor\\Key",
        "reg:HKLM\\SOFTWARE\\Vendor\\Key\\Version=2.0"}) {
    Replace("Data/Settings.ini", "Detect=KB2533623", std::string("Detect=") + rule);
    EXPECT_TRUE(Check().empty()) << rule;
    Replace("Data/Settings.ini", std::string("Detect=") + rule, "Detect=KB2533623");
  }
}

TEST_F(ReleaseCheck, MalformedDetectionRulesAreErrors) {
  Replace("Data/Settings.ini", "Restart=1\n", "Restart=1\nDetect=KB2533623\n");
  for (const char* rule :
       {"2533623", "KB25x", "msi:{1234}", "file:System32\\a.dll", "file:C:\\a.dll>6.1",
        "reg:HKCU\\Software\\Vendor", "reg:HKLM\\SOFTWARE\\\\Vendor"}) {
    Replace("Data/Settings.ini", "Detect=KB2533623", std::string("Detect=") + rule);
    const Finding f = Only("detect-malformed");
    EXPECT_EQ(f.severity, Severity::Error) << rule;
    EXPECT_EQ(f.key, "Detect") << rule;
    EXPECT_TRUE(Has(f.message, std::string("Detect=") + rule + " is malformed (")) << f.message;
    Replace("Data/Settings.ini", std::string("Detect=") + rule, "Detect=KB2533623");
  }
}

}  // namespace
}  // namespace release_check_test
