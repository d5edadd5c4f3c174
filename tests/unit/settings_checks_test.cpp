// The checks of Settings.ini's counts and [Main] values: Files and its package
// sections, the text blocks of [Lines], the release's version.
#include <gtest/gtest.h>

#include "release_check_fixture.h"

namespace release_check_test {
namespace {

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

}  // namespace
}  // namespace release_check_test
