// The checks of the files' structure: section and key names the installer does
// not read, repeated and misplaced ones, keys numbered in another form.
#include <gtest/gtest.h>

#include "release/settings.h"
#include "release/words.h"
#include "release_check_fixture.h"

namespace release_check_test {
namespace {

// --- Sections and keys in another form ---------------------------------

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

// --- Words beyond the table or in another form ----------------------------

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

}  // namespace
}  // namespace release_check_test
