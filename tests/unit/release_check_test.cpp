// The release checker on whole release folders: a clean one with no finding,
// one that is no release, files missing, and values read as the installer reads them.
#include <gtest/gtest.h>

#include "check/native_files.h"
#include "check/release_check.h"
#include "release_check_fixture.h"

namespace release_check_test {
namespace {

TEST_F(ReleaseCheck, CleanReleaseHasNoFinding) {
  EXPECT_TRUE(Check().empty()) << check::FormatText(Check().front());
  EXPECT_TRUE(Check("Data").empty());  // the Data folder named instead
}

TEST_F(ReleaseCheck, AFolderWithoutReleaseIsNone) {
  check::NativeReleaseFiles files(root_ / "Data" / "Updates");
  EXPECT_FALSE(check::CheckRelease(files).has_value());
}

TEST_F(ReleaseCheck, MissingFiles) {
  fs::remove(root_ / "Data" / "Language.ini");
  EXPECT_TRUE(Has(Only("file-missing").message, "Language.ini is missing: every word shows"));
  fs::remove(root_ / "Data" / "Settings.ini");
  EXPECT_EQ(Ids(), (std::multiset<std::string>{"file-missing", "file-missing"}));
}

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
  // The program of [file2] has no Parameters: it may show windows of its own.
  EXPECT_EQ(ids,
            (std::multiset<std::string>{"link-without-scheme", "key-repeated", "section-repeated",
                                        "section-repeated", "exe-without-parameters"}));

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

}  // namespace
}  // namespace release_check_test
