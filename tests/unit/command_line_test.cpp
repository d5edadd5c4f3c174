#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(CommandLine, BlanksAndTabsSeparateWordsOutsideQuotes) {
  EXPECT_EQ(app::SplitCommandLine("Installer.exe /silent"), (Words{"Installer.exe", "/silent"}));
  EXPECT_EQ(app::SplitCommandLine("Installer.exe  \t /silent   x  "),
            (Words{"Installer.exe", "/silent", "x"}));
  EXPECT_EQ(app::SplitCommandLine("Installer.exe"), (Words{"Installer.exe"}));
  EXPECT_EQ(app::SplitCommandLine("Installer.exe   "), (Words{"Installer.exe"}));
}

TEST(CommandLine, ProgramNameTakesNoEscapes) {
  EXPECT_EQ(app::SplitCommandLine("\"C:\\Program Files\\Setup\\Installer.exe\" /silent"),
            (Words{"C:\\Program Files\\Setup\\Installer.exe", "/silent"}));
  EXPECT_EQ(app::SplitCommandLine("C:\\Setup\\\"x /silent"), (Words{"C:\\Setup\\\"x", "/silent"}));
  // The name ends at its closing quote; what follows is the next word.
  EXPECT_EQ(app::SplitCommandLine("\"C:\\a b\"c d"), (Words{"C:\\a b", "c", "d"}));
  EXPECT_EQ(app::SplitCommandLine("\"C:\\a b"), (Words{"C:\\a b"}));
  EXPECT_EQ(app::SplitCommandLine(" /silent"), (Words{"", "/silent"}));
  EXPECT_EQ(app::SplitCommandLine(""), (Words{""}));
}

TEST(CommandLine, QuotedPartsKeepBlanksAndJoinTheirWord) {
  EXPECT_EQ(app::SplitCommandLine("p \"a b\" c"), (Words{"p", "a b", "c"}));
  EXPECT_EQ(app::SplitCommandLine("p x\"a b\"y"), (Words{"p", "xa by"}));
  EXPECT_EQ(app::SplitCommandLine("p \"\" x"), (Words{"p", "", "x"}));
  EXPECT_EQ(app::SplitCommandLine("p \"open end"), (Words{"p", "open end"}));
  EXPECT_EQ(app::SplitCommandLine("p \"/silent\""), (Words{"p", "/silent"}));
}

TEST(CommandLine, DoubledQuoteInsideQuotesIsOneQuoteAndClosesThePart) {
  EXPECT_EQ(app::SplitCommandLine("p \"a\"\"b c\""), (Words{"p", "a\"b", "c"}));
  EXPECT_EQ(app::SplitCommandLine("p \"\"\"a\""), (Words{"p", "\"a"}));
  EXPECT_EQ(app::SplitCommandLine("p \"a\"\" b\""), (Words{"p", "a\"", "b"}));
}

TEST(CommandLine, BackslashesCountOnlyBeforeAQuote) {
  EXPECT_EQ(app::SplitCommandLine("p a\\b c\\\\d e\\"), (Words{"p", "a\\b", "c\\\\d", "e\\"}));
  // Odd: half of them and a quote of the word.
  EXPECT_EQ(app::SplitCommandLine("p a\\\"b"), (Words{"p", "a\"b"}));
  EXPECT_EQ(app::SplitCommandLine("p a\\\\\\\"b"), (Words{"p", "a\\\"b"}));
  // Even: half of them, and the quote opens or closes.
  EXPECT_EQ(app::SplitCommandLine("p a\\\\\"b c\""), (Words{"p", "a\\b c"}));
  EXPECT_EQ(app::SplitCommandLine("p \"C:\\Temp\\\\\" x"), (Words{"p", "C:\\Temp\\", "x"}));
  // An escaped quote inside a quoted part keeps it open.
  EXPECT_EQ(app::SplitCommandLine("p \"a \\\" b\" c"), (Words{"p", "a \" b", "c"}));
}

TEST(CommandLine, Utf8PassesThrough) {
  EXPECT_EQ(app::SplitCommandLine("p \"Grüße an\" \xE2\x82\xAC"),
            (Words{"p", "Grüße an", "\xE2\x82\xAC"}));
}

}  // namespace
