// The checks of Language.ini's words.
#include <gtest/gtest.h>

#include "release/settings.h"
#include "release/words.h"
#include "release_check_fixture.h"

namespace release_check_test {
namespace {

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

TEST_F(ReleaseCheck, GroupCaptionLosesItsBlanksWithoutQuotes) {
  Replace("Data/Language.ini", "041=\" Status \"", "041= Status ");
  const Finding f = Only("word-blanks-lost");
  EXPECT_EQ(f.fix, "write 041=\" Status \"");
}

TEST_F(ReleaseCheck, LanguageFileWithoutWordsSection) {
  Replace("Data/Language.ini", "[Words]", "[Wörter]");
  EXPECT_EQ(Ids(), (std::multiset<std::string>{"section-unknown", "words-section-missing"}));
}

}  // namespace
}  // namespace release_check_test
