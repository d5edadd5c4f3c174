// The release checker on small release folders made on disk: a clean one
// with no finding, and the same release with one fault at a time.
#include "check/release_check.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "check/command.h"
#include "check/native_files.h"
#include "check/picture_size.h"
#include "release/settings.h"
#include "release/sha256.h"
#include "release/words.h"

namespace {

namespace fs = std::filesystem;
using check::Finding;
using check::Severity;
using namespace std::string_literals;

std::string U16(int v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

std::string U32(int v) {
  return U16(v & 0xFFFF) + U16((v >> 16) & 0xFFFF);
}

// A 24-bit Windows bitmap of the size.
std::string Bitmap(int width, int height) {
  const int stride = (width * 24 + 31) / 32 * 4;
  const std::string info = U32(40) + U32(width) + U32(height) + U16(1) + U16(24) + U32(0) +
                           U32(stride * height) + U32(2835) + U32(2835) + U32(0) + U32(0);
  return "BM" + U32(54 + stride * height) + U32(0) + U32(54) + info +
         std::string(static_cast<std::size_t>(stride) * height, '\x7F');
}

// A Windows icon with one 32-bit image per edge.
std::string Icon(const std::vector<int>& edges) {
  std::string directory = U16(0) + U16(1) + U16(static_cast<int>(edges.size()));
  std::string images;
  std::size_t offset = 6 + 16 * edges.size();
  for (const int edge : edges) {
    const std::string image = U32(40) + U32(edge) + U32(2 * edge) + U16(1) + U16(32) +
                              std::string(24, '\0') + std::string(edge * edge * 4, '\x40');
    directory += std::string(1, static_cast<char>(edge == 256 ? 0 : edge)) +
                 std::string(1, static_cast<char>(edge == 256 ? 0 : edge)) + U16(0) + U16(1) +
                 U16(32) + U32(static_cast<int>(image.size())) + U32(static_cast<int>(offset));
    images += image;
    offset += image.size();
  }
  return directory + images;
}

// The Windows-1252 bytes of UTF-8 text of Latin-1 letters, with CR LF.
std::string Ansi(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == 0xC3) {
      out += static_cast<char>(static_cast<unsigned char>(utf8[++i]) + 0x40);
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += utf8[i];
    }
  }
  return out;
}

const char kSettings[] =
    "[Main]\n"
    "Name=Prüfpaket\n"
    "Files=2\n"
    "Version=1.0\n"
    "Company=Firma\n"
    "Website=https://example.com\n"
    "[Images]\n"
    "Image1=Seite.bmp\n"
    "[Defaults]\n"
    "AutoReboot=0\n"
    "AllowAdvanced=1\n"
    "[Lines]\n"
    "PreInstall=2\n"
    "License=1\n"
    "[PreInstall]\n"
    "Line001=Willkommen\n"
    "Line002=\n"
    "[License]\n"
    "Line001=Lizenz\n"
    "[File1]\n"
    "Name=Sicherheitsupdate\n"
    "File=Updates\\KB1.exe\n"
    "Parameters=/quiet /log:{tmp}\\kb1.log\n"
    "Link=https://example.com/kb1\n"
    "Logfile=KB1.log\n"
    "Restart=1\n"
    "[File2]\n"
    "Name=Werkzeug\n"
    "File=Werkzeug.msi\n"
    "Parameters=/qn\n";

// Every word of the table, the group captions with their blanks.
std::string Words() {
  std::string text = "[Words]\n";
  for (int n = 1; n <= release::WordTable::kCount; ++n) {
    const std::string key = release::PadKeyNumber(n);
    text += key + "=" +
            (n == 41   ? "\" Status \""
             : n == 42 ? "\" Fortschritt \""
                       : "Wort " + key) +
            "\n";
  }
  return text;
}

class ReleaseCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "release-check-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    Write("Installer.exe", "MZ");
    Write("Readme.txt", "Lies mich\r\n");
    Write("Data/Settings.ini", Ansi(kSettings));
    Write("Data/Language.ini", Ansi(Words()));
    Write("Data/Seite.bmp", Bitmap(164, 313));
    Write("Data/Icon.ico", Icon({16, 32, 48}));
    Write("Data/Updates/KB1.exe", "MZ");
    Write("Data/Werkzeug.msi", "MSI");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const std::string& path, const std::string& bytes) {
    fs::create_directories((root_ / path).parent_path());
    std::ofstream(root_ / path, std::ios::binary) << bytes;
  }
  std::string ReadBack(const std::string& path) {
    std::ifstream in(root_ / path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // Replaces the first `from` in a file of the release (both in UTF-8, the
  // file written in Windows-1252 when it is an .ini).
  void Replace(const std::string& path, const std::string& from, const std::string& to) {
    std::string text = ReadBack(path);
    const std::string old_text = Ansi(from), new_text = Ansi(to);
    const std::size_t at = text.find(old_text);
    ASSERT_NE(at, std::string::npos) << from << " not in " << path;
    Write(path, text.replace(at, old_text.size(), new_text));
  }
  void Append(const std::string& path, const std::string& text) {
    Write(path, ReadBack(path) + Ansi(text));
  }

  std::vector<Finding> Check(const std::string& folder = "") {
    check::NativeReleaseFiles files(root_ / folder);
    auto findings = check::CheckRelease(files);
    EXPECT_TRUE(findings.has_value());
    return findings.value_or(std::vector<Finding>());
  }
  std::multiset<std::string> Ids() {
    std::multiset<std::string> ids;
    for (const Finding& f : Check()) ids.insert(f.id);
    return ids;
  }
  // The one finding of the release, which must have this id.
  Finding Only(const std::string& id) {
    const std::vector<Finding> findings = Check();
    std::string all;
    for (const Finding& f : findings) all += check::FormatText(f) + "\n";
    EXPECT_EQ(findings.size(), 1u) << all;
    if (findings.empty()) return {};
    EXPECT_EQ(findings.front().id, id) << all;
    return findings.front();
  }

  fs::path root_;
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(ReleaseCheck, CleanReleaseHasNoFinding) {
  EXPECT_TRUE(Check().empty()) << check::FormatText(Check().front());
  EXPECT_TRUE(Check("Data").empty());  // the Data folder named instead
}

TEST_F(ReleaseCheck, AFolderWithoutReleaseIsNone) {
  check::NativeReleaseFiles files(root_ / "Data" / "Updates");
  EXPECT_FALSE(check::CheckRelease(files).has_value());
}

// --- Files and the package sections --------------------------------------

TEST_F(ReleaseCheck, FilesNotANumberStopsTheStart) {
  Replace("Data/Settings.ini", "Files=2", "Files=zwei");
  const Finding f = Only("files-not-a-number");
  EXPECT_EQ(f.severity, Severity::Error);
  EXPECT_EQ(f.file, "Data\\Settings.ini");
  EXPECT_EQ(f.line, 3);
  EXPECT_EQ(f.section, "Main");
  EXPECT_EQ(f.key, "Files");
  EXPECT_TRUE(Has(f.message, "'zwei' ist kein gültiger Integerwert")) << f.message;
  EXPECT_TRUE(Has(f.fix, "(2 by the [FileN] sections)")) << f.fix;
}

TEST_F(ReleaseCheck, FilesMissingStopsTheStart) {
  Replace("Data/Settings.ini", "Files=2\n", "");
  EXPECT_TRUE(Has(Only("files-not-a-number").message, "[Main] has no Files"));
}

TEST_F(ReleaseCheck, FilesNegativeShowsNoPackages) {
  Replace("Data/Settings.ini", "Files=2", "Files=-1");
  EXPECT_EQ(Ids(), (std::multiset<std::string>{"files-negative", "file-section-beyond-count",
                                               "file-section-beyond-count"}));
}

TEST_F(ReleaseCheck, FilesAboveTheBoundStopsTheStart) {
  Replace("Data/Settings.ini", "Files=2", "Files=1001");
  const std::vector<Finding> findings = Check();
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].id, "files-above-bound");
  EXPECT_TRUE(Has(findings[0].message, "Fehler bei Bereichsprüfung"));
  EXPECT_EQ(findings[1].id, "file-sections-missing");
  EXPECT_TRUE(Has(findings[1].message, "[File3] to [File1000] are missing")) << findings[1].message;
}

TEST_F(ReleaseCheck, PackageSectionsMissingShowEmptyRows) {
  Replace("Data/Settings.ini", "Files=2", "Files=5");
  const Finding f = Only("file-sections-missing");
  EXPECT_EQ(f.message,
            "[File3] to [File5] are missing: the package list shows 3 empty rows "
            "that install nothing");
  EXPECT_EQ(f.fix, "add the sections, or set Files=2 if the release has 2 packages");
}

TEST_F(ReleaseCheck, PackageSectionBeyondFilesIsNotInstalled) {
  Append("Data/Settings.ini", "[File3]\nName=Drei\nFile=Updates\\KB1.exe\n");
  const Finding f = Only("file-section-beyond-count");
  EXPECT_EQ(f.section, "File3");
  EXPECT_EQ(f.severity, Severity::Warning);
}

TEST_F(ReleaseCheck, PackageSectionWithLeadingZerosIsNotRead) {
  Replace("Data/Settings.ini", "[File2]", "[File002]");
  const Finding f = Only("section-form");
  EXPECT_EQ(f.section, "File002");
  EXPECT_EQ(f.fix, "rename the section [File2]");
}

// --- Names the installer does not read ----------------------------------

struct NameCase {
  const char* name;
  const char* from;
  const char* to;
  const char* id;
  Severity severity;
  const char* section;
  const char* key;
};

class ReleaseCheckNames : public ReleaseCheck, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ReleaseCheckNames, OneFinding) {
  const NameCase& c = GetParam();
  Replace("Data/Settings.ini", c.from, c.to);
  const Finding f = Only(c.id);
  EXPECT_EQ(f.severity, c.severity);
  EXPECT_EQ(f.section, c.section);
  EXPECT_EQ(f.key, c.key);
  EXPECT_GT(f.line, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ReleaseCheckNames,
    ::testing::Values(
        NameCase{"LineKeyWithoutZeros", "Line002=", "Line2=", "line-key-form", Severity::Error,
                 "PreInstall", "Line2"},
        NameCase{"MisspeltKey", "Parameters=/qn", "Paramters=/qn", "key-misspelt", Severity::Error,
                 "File2", "Paramters"},
        NameCase{"MisspeltKeyBesideTheRightOne", "Parameters=/qn", "Parameters=/qn\nParamters=/q",
                 "key-misspelt", Severity::Warning, "File2", "Paramters"},
        NameCase{"UnknownKey", "Version=1.0", "Version=1.0\nBuild=7", "key-unknown",
                 Severity::Warning, "Main", "Build"},
        NameCase{"MisspeltSection", "[Images]", "[Image]", "section-misspelt", Severity::Error,
                 "Image", ""},
        NameCase{"UnknownSection", "[Defaults]", "[Extras]\nA=1\n[Defaults]", "section-unknown",
                 Severity::Warning, "Extras", ""},
        NameCase{"RepeatedKey", "Version=1.0", "Version=1.0\nversion=2.0", "key-repeated",
                 Severity::Warning, "Main", "version"},
        NameCase{"RepeatedSection", "[File2]", "[Main]\nName=Zweiter Name\n[File2]",
                 "section-repeated", Severity::Warning, "Main", ""},
        NameCase{"KeyBeforeAnySection", "[Main]", "Name=Vorne\n[Main]", "key-outside-section",
                 Severity::Warning, "", "Name"},
        NameCase{"BrokenSectionHeader", "[Defaults]\nAutoReboot=0\nAllowAdvanced=1", "[Defaults",
                 "section-header-broken", Severity::Error, "Defaults", ""},
        NameCase{"LineWithoutEquals", "Company=Firma", "Company=Firma\nCopyright 2024",
                 "line-without-equals", Severity::Warning, "Main", "Copyright 2024"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return info.param.name; });

// --- Text blocks ----------------------------------------------------------

TEST_F(ReleaseCheck, CountAboveLinesPresentShowsEmptyLines) {
  Replace("Data/Settings.ini", "PreInstall=2", "PreInstall=4");
  const Finding f = Only("lines-missing");
  EXPECT_EQ(f.key, "PreInstall");
  EXPECT_TRUE(Has(f.message, "Line003, Line004 are missing from [PreInstall]")) << f.message;
}

TEST_F(ReleaseCheck, CountWithoutItsSection) {
  Replace("Data/Settings.ini", "License=1", "License=1\nPostInstall=2");
  EXPECT_EQ(Only("lines-missing").message,
            "there is no section [PostInstall]: [Lines] PostInstall=2 shows 2 empty lines");
}

TEST_F(ReleaseCheck, LinesBeyondTheCountAreNotShown) {
  Replace("Data/Settings.ini", "Line001=Lizenz", "Line001=Lizenz\nLine002=mehr\nLine003=noch mehr");
  const Finding f = Only("lines-beyond-count");
  EXPECT_EQ(f.section, "License");
  EXPECT_EQ(f.key, "Line002");
  EXPECT_EQ(f.message, "Line002, Line003 are not shown: [Lines] License=1");
  EXPECT_EQ(f.fix, "set License=3 in [Lines]");
}

TEST_F(ReleaseCheck, CountAboveTheBoundStopsTheStart) {
  Replace("Data/Settings.ini", "License=1", "License=2000000000");
  const Finding f = Only("lines-above-bound");
  EXPECT_TRUE(Has(f.message, "Fehler bei Bereichsprüfung"));
  EXPECT_EQ(f.fix, "set License to the number of lines (1)");
}

TEST_F(ReleaseCheck, CountThatIsNoNumberHidesTheBlock) {
  Replace("Data/Settings.ini", "License=1", "License=eins");
  EXPECT_EQ(Ids(), (std::multiset<std::string>{"lines-count-not-a-number", "lines-beyond-count"}));
}

TEST_F(ReleaseCheck, BlockWithoutCountIsNotShown) {
  Replace("Data/Settings.ini", "License=1\n", "");
  EXPECT_EQ(Only("lines-beyond-count").message, "Line001 is not shown: [Lines] has no License");
}

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

const std::string kMzDigest = release::Sha256Hex("MZ");

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

// A release that names no version at all.
TEST_F(ReleaseCheck, ReleaseWithoutVersionLeavesTheDetectionRuleNothingToCompare) {
  Replace("Data/Settings.ini", "Version=1.0\n", "");
  const Finding f = Only("version-empty");
  EXPECT_EQ(f.severity, Severity::Warning);
  EXPECT_EQ(f.section, "Main");
  EXPECT_EQ(f.key, "Version");
  EXPECT_TRUE(Has(f.message, "SOFTWARE\\UpdatePackages\\Prüfpaket")) << f.message;
  EXPECT_TRUE(Has(f.message, "detection rule")) << f.message;
}

// --- Pictures and the files beside them -----------------------------------

TEST_F(ReleaseCheck, SidePictureMissing) {
  fs::remove(root_ / "Data" / "Seite.bmp");
  const Finding f = Only("picture-missing");
  EXPECT_EQ(f.section, "Images");
  EXPECT_EQ(f.key, "Image1");
  EXPECT_TRUE(Has(f.message, "the welcome page shows an error box")) << f.message;
}

TEST_F(ReleaseCheck, SidePictureIsAFolder) {
  fs::remove(root_ / "Data" / "Seite.bmp");
  fs::create_directory(root_ / "Data" / "Seite.bmp");
  Only("picture-unreadable");
}

TEST_F(ReleaseCheck, SidePictureUnreadable) {
  Write("Data/Seite.bmp", Bitmap(164, 313).substr(0, 2000));
  EXPECT_TRUE(Has(Only("picture-unreadable").message, "pixels are cut off"));
}

TEST_F(ReleaseCheck, SidePictureOfAnotherKind) {
  Write("Data/Seite.png", "\x89PNG");
  Replace("Data/Settings.ini", "Image1=Seite.bmp", "Image1=Seite.png");
  Only("picture-extension");
}

TEST_F(ReleaseCheck, SidePictureOfAnotherSize) {
  Write("Data/Seite.bmp", Bitmap(150, 300));
  EXPECT_TRUE(Has(Only("picture-size").message, "is 150 × 300 pixels"));
}

TEST_F(ReleaseCheck, SidePictureAsIconHasTheIconsSize) {
  Replace("Data/Settings.ini", "Image1=Seite.bmp", "Image2=Icon.ico");
  const Finding f = Only("picture-size");
  EXPECT_EQ(f.key, "Image2");
  EXPECT_TRUE(Has(f.message, "is 32 × 32 pixels: the method page")) << f.message;
}

TEST_F(ReleaseCheck, SidePictureOutsideData) {
  Write("Seite.bmp", Bitmap(164, 313));
  Replace("Data/Settings.ini", "Image1=Seite.bmp", "Image1=..\\Seite.bmp");
  EXPECT_EQ(Only("picture-path-outside-data").severity, Severity::Warning);
  Replace("Data/Settings.ini", "Image1=..\\Seite.bmp", "Image1=C:\\Bilder\\Seite.bmp");
  EXPECT_EQ(Only("picture-path-absolute").severity, Severity::Error);
}

TEST_F(ReleaseCheck, IconMissing) {
  fs::remove(root_ / "Data" / "Icon.ico");
  const Finding f = Only("icon-missing");
  EXPECT_EQ(f.file, "Data\\Icon.ico");
  EXPECT_EQ(f.severity, Severity::Error);
}

TEST_F(ReleaseCheck, IconUnreadable) {
  Write("Data/Icon.ico", Bitmap(32, 32));
  Only("icon-unreadable");
}

TEST_F(ReleaseCheck, IconWithoutThirtyTwoPixelImage) {
  Write("Data/Icon.ico", Icon({48, 64}));
  EXPECT_TRUE(Has(Only("icon-size").message, "draws its 48 × 48 image")) << Check()[0].message;
}

TEST_F(ReleaseCheck, ReadmeMissing) {
  fs::remove(root_ / "Readme.txt");
  EXPECT_EQ(Only("readme-missing").file, "Readme.txt");
  EXPECT_EQ(check::FormatText(Check("Data").front()), check::FormatText(Check().front()));
}

TEST_F(ReleaseCheck, ReadmeIsAFolder) {
  fs::remove(root_ / "Readme.txt");
  fs::create_directory(root_ / "Readme.txt");
  Only("readme-is-folder");
}

// --- Words ----------------------------------------------------------------

TEST_F(ReleaseCheck, MissingWordsNameWhatTheUserSees) {
  const int last = release::WordTable::kCount;
  Replace("Data/Language.ini", "005=Wort 005\n", "");
  Replace("Data/Language.ini", release::PadKeyNumber(last) + "=Wort " + release::PadKeyNumber(last),
          "");
  const std::vector<Finding> findings = Check();
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].id, "word-missing");
  EXPECT_EQ(findings[0].key, "005");
  EXPECT_EQ(findings[0].severity, Severity::Error);
  EXPECT_EQ(findings[0].message,
            "word 5 is missing: the user sees \"Error in Language File\" instead");
  EXPECT_EQ(findings[1].key, release::PadKeyNumber(last));
  EXPECT_EQ(findings[1].severity, Severity::Warning);  // a later word has a built-in text
  EXPECT_TRUE(Has(findings[1].message, release::WordTable::Missing(last).substr(0, 20)));
}

TEST_F(ReleaseCheck, WordKeyWithoutZeros) {
  Replace("Data/Language.ini", "005=", "5=");
  const Finding f = Only("word-key-form");
  EXPECT_EQ(f.key, "5");
  EXPECT_EQ(f.fix, "rename the key 005");
}

TEST_F(ReleaseCheck, WordBeyondTheTable) {
  Append("Data/Language.ini",
         release::PadKeyNumber(release::WordTable::kCount + 1) + "=noch ein Wort\n");
  Only("word-unknown");
}

TEST_F(ReleaseCheck, GroupCaptionLosesItsBlanksWithoutQuotes) {
  Replace("Data/Language.ini", "041=\" Status \"", "041= Status ");
  const Finding f = Only("word-blanks-lost");
  EXPECT_EQ(f.fix, "write 041=\" Status \"");
}

TEST_F(ReleaseCheck, LanguageFileWithoutWordsSection) {
  Replace("Data/Language.ini", "[Words]", "[Wörter]");
  EXPECT_EQ(Ids(), (std::multiset<std::string>{"section-unknown", "words-section-missing"}));
}

TEST_F(ReleaseCheck, MissingFiles) {
  fs::remove(root_ / "Data" / "Language.ini");
  EXPECT_TRUE(Has(Only("file-missing").message, "Language.ini is missing: every word shows"));
  fs::remove(root_ / "Data" / "Settings.ini");
  EXPECT_EQ(Ids(), (std::multiset<std::string>{"file-missing", "file-missing"}));
}

// --- Text -----------------------------------------------------------------

TEST_F(ReleaseCheck, ValueCutAt2047Characters) {
  Replace("Data/Settings.ini", "Company=Firma", "Company=" + std::string(2048, 'F'));
  EXPECT_EQ(Only("value-cut").key, "Company");
}

TEST_F(ReleaseCheck, Utf8WithoutByteOrderMarkIsReadAsAnsi) {
  std::string utf8 = kSettings;
  Write("Data/Settings.ini", utf8);
  const Finding f = Only("utf8-without-bom");
  EXPECT_EQ(f.key, "Name");
  EXPECT_TRUE(Has(f.message, "shows \"PrÃ¼fpaket\" where the file means \"Prüfpaket\""))
      << f.message;
  Write("Data/Settings.ini", "\xEF\xBB\xBF" + utf8);  // with the mark it is read as UTF-8
  EXPECT_TRUE(Check().empty());
}

TEST_F(ReleaseCheck, ByteTheCodePageLeavesEmpty) {
  Replace("Data/Settings.ini", "Company=Firma", "Company=Firma \x81");
  EXPECT_EQ(Only("character-not-shown").key, "Company");
}

TEST_F(ReleaseCheck, Utf16WithoutByteOrderMark) {
  std::string utf16;
  for (const char c : Ansi(Words())) utf16 += std::string(1, c) + '\0';
  Write("Data/Language.ini", utf16);
  EXPECT_EQ(Ids(), (std::multiset<std::string>{"utf16-without-bom", "words-section-missing"}));
}

// --- What the installer sees ----------------------------------------------

// Quotes, blanks, the first of two keys and sections, letter case: the
// checker speaks of the values as the installer's reader hands them over.
TEST_F(ReleaseCheck, ReportsWhatTheInstallerSees) {
  Write("Data/ Mit Blank.exe", "MZ");  // only the quoted value keeps the blank
  Write("Data/Zweiter.exe", "MZ");
  Replace("Data/Settings.ini", "[File2]\nName=Werkzeug\nFile=Werkzeug.msi\nParameters=/qn",
          "[file2]\n"
          "NAME = 'Werkzeug'\n"
          "FILE  =  \" Mit Blank.exe\"  \n"
          "file=Zweiter.exe\n"
          "[File1]\n"
          "File=Fehlt.exe\n"
          "[FILE2]\n"
          "File=Fehlt.exe");
  Replace("Data/Settings.ini", "Link=https://example.com/kb1", "LINK=\"www.example.com\"");
  std::multiset<std::string> ids;
  for (const Finding& f : Check()) {
    ids.insert(f.id);
    if (f.id == "link-without-scheme") {
      EXPECT_EQ(f.section, "File1");
      EXPECT_EQ(f.key, "LINK");
      EXPECT_TRUE(Has(f.message, "\"www.example.com\" has no scheme")) << f.message;
    }
    if (f.id == "key-repeated") {
      EXPECT_EQ(f.key, "file");  // the second File of [file2]; the first counts
      EXPECT_TRUE(Has(f.message, "(line 29, \" Mit Blank.exe\") and ignores \"Zweiter.exe\""))
          << f.message;
    }
  }
  // " Mit Blank.exe" is there, so no package is missing; the repeated
  // sections and the second key are ignored, as the installer ignores them.
  EXPECT_EQ(ids, (std::multiset<std::string>{"link-without-scheme", "key-repeated",
                                             "section-repeated", "section-repeated"}));

  // Without its quotes the blank goes, and the installer looks for "Mit Blank.exe".
  Replace("Data/Settings.ini", "\" Mit Blank.exe\"", " Mit Blank.exe");
  bool missing = false;
  for (const Finding& f : Check()) {
    if (f.id != "package-file-missing") continue;
    missing = true;
    EXPECT_EQ(f.section, "file2");
    EXPECT_EQ(f.key, "FILE");
    EXPECT_TRUE(Has(f.message, "package file \"Mit Blank.exe\" is missing")) << f.message;
  }
  EXPECT_TRUE(missing);
}

// --- The command line -----------------------------------------------------

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

TEST(ReleaseCheckPictures, HeadersOfBitmapsAndIcons) {
  const auto bitmap = check::ReadBitmap(Bitmap(164, 313));
  ASSERT_TRUE(bitmap.size);
  EXPECT_EQ(bitmap.size->width, 164);
  EXPECT_EQ(bitmap.size->height, 313);
  std::string top_down = Bitmap(10, 20);
  top_down.replace(22, 4, U32(-20));
  EXPECT_EQ(check::ReadBitmap(top_down).size->height, 20);
  std::string png_inside = Bitmap(10, 20);
  png_inside.replace(30, 4, U32(5));
  EXPECT_EQ(check::ReadBitmap(png_inside).problem, "a bitmap that holds a PNG image");

  // The image Windows picks: the nearest to 32, the first of two as near; 256 is written as 0.
  EXPECT_EQ(check::ReadIcon(Icon({20, 40, 256}), 32).size->width, 40);
  EXPECT_EQ(check::ReadIcon(Icon({16, 48}), 32).size->width, 16);
  EXPECT_EQ(check::ReadIcon(Icon({256}), 32).size->width, 256);
  std::string damaged = Icon({32});
  damaged.replace(22, 4, U32(0));  // the image's first bytes are no header
  EXPECT_EQ(check::ReadIcon(damaged, 32).problem, "an icon whose image is damaged");
  EXPECT_EQ(check::ReadIcon(Icon({32}).substr(0, 30), 32).problem,
            "an icon whose image is cut off");
}

}  // namespace
