// The checks of the text as the installer decodes it: values cut off, encodings
// without their mark, bytes the code page leaves empty.
#include <gtest/gtest.h>

#include "release_check_fixture.h"

namespace release_check_test {
namespace {

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

}  // namespace
}  // namespace release_check_test
