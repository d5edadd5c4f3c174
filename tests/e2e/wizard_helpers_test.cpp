// The wizard tests' own pieces that need no Wine: the release files and the driver's output.
#include <gtest/gtest.h>

#include "harness/release_folder.h"
#include "harness/ui_driver.h"

namespace e2e {
namespace {

TEST(ReleaseFiles, AnsiTextIsWindows1252) {
  EXPECT_EQ(ToWindows1252("Grüße – 5 €"),
            "Gr\xFC\xDF"
            "e \x96 5 \x80");
  EXPECT_EQ(ToWindows1252("plain"), "plain");
  EXPECT_THROW(ToWindows1252("Ω"), std::invalid_argument);
}

TEST(ReleaseFiles, SettingsHoldTheGivenValues) {
  ReleaseSettings settings;
  settings.packages = 2;
  settings.files = "abc";
  settings.pre_install = {"eins", "", "drei"};
  const std::string text = settings.Text();
  EXPECT_NE(text.find("\r\nFiles=abc\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Lines]\r\nPreInstall=3\r\n"), std::string::npos);
  EXPECT_NE(text.find("[PreInstall]\r\nLine001=eins\r\nLine002=\r\nLine003=drei\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("[File2]\r\n"), std::string::npos);
  EXPECT_EQ(text.find("[File3]"), std::string::npos);
  EXPECT_EQ(JoinedBlock(settings.pre_install), "eins\r\rdrei\r");
}

TEST(ReleaseFiles, LanguageFileHasAllWordsWithThreeDigitKeys) {
  const std::string text = LanguageText();
  EXPECT_EQ(text.find("[Words]\r\n001=" + Word(release::kWordBack) + "\r\n"), 0u);
  EXPECT_NE(text.find("\r\n077=" + Word(release::kWordRestartNow) + "\r\n"), std::string::npos);
  EXPECT_EQ(text.find("078="), std::string::npos);
  EXPECT_NE(Word(release::kWordNext), "Weiter >");  // differs from the built-in caption
}

TEST(ReleaseFiles, BitmapHasHeaderSizeAndPaddedRows) {
  const std::string file = BitmapFile(3, 2, 0x102030);
  ASSERT_EQ(file.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(file[2]), 54 + 24);
  EXPECT_EQ(file[18], 3);   // width
  EXPECT_EQ(file[22], 2);   // height
  EXPECT_EQ(file[28], 24);  // bits per pixel
}

TEST(DriverOutput, ValuesAreUnescapedAndKeptInOrder) {
  DriverRun run = ParseDriverOutput(
      {TextOf("F", "L"), IsShown("F"), CaptionOf("F")},
      "text F L = a\\rb\\\\c\\td\r\nfixme: chatter = from Wine\nshown F = 1\nshown F = 0\n"
      "caption F = x = y\n");
  EXPECT_EQ(run.Value(TextOf("F", "L")), "a\rb\\c\td");
  EXPECT_EQ(run.Values(IsShown("F")), (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(run.Value(CaptionOf("F")), "x = y");
  EXPECT_TRUE(run.error.empty());
  EXPECT_THROW(run.Value("fixme: chatter"), std::out_of_range);
}

TEST(DriverOutput, ErrorLineIsKept) {
  DriverRun run = ParseDriverOutput({WaitFor("F", 10), CaptionOf("F")},
                                    "error: wait F 10: no visible F after 10 ms\n");
  EXPECT_EQ(run.error, "wait F 10: no visible F after 10 ms");
  EXPECT_FALSE(run.ok());
  EXPECT_TRUE(run.values.empty());
}

}  // namespace
}  // namespace e2e
