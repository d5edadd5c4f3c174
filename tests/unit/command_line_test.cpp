#include "win32/portable/command_line.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(CommandLine, BlanksAndTabsSeparateWordsOutsideQuotes) {
  EXPECT_EQ(win32::SplitCommandLine("Installer.exe /silent"), (Words{"Installer.exe", "/silent"}));
  EXPECT_EQ(win32::SplitCommandLine("Installer.exe  \t /silent   x  "),
            (Words{"Installer.exe", "/silent", "x"}));
  EXPECT_EQ(win32::SplitCommandLine("Installer.exe"), (Words{"Installer.exe"}));
  EXPECT_EQ(win32::SplitCommandLine("Installer.exe   "), (Words{"Installer.exe"}));
}

TEST(CommandLine, ProgramNameTakesNoEscapes) {
  EXPECT_EQ(win32::SplitCommandLine("\"C:\\Program Files\\Setup\\Installer.exe\" /silent"),
            (Words{"C:\\Program Files\\Setup\\Installer.exe", "/silent"}));
  EXPECT_EQ(win32::SplitCommandLine("C:\\Setup\\\"x /silent"),
            (Words{"C:\\Setup\\\"x", "/silent"}));
  // The name ends at its closing quote; what follows is the next word.
  EXPECT_EQ(win32::SplitCommandLine("\"C:\\a b\"c d"), (Words{"C:\\a b", "c", "d"}));
  EXPECT_EQ(win32::SplitCommandLine("\"C:\\a b"), (Words{"C:\\a b"}));
  EXPECT_EQ(win32::SplitCommandLine(" /silent"), (Words{"", "/silent"}));
  EXPECT_EQ(win32::SplitCommandLine(""), (Words{""}));
}

TEST(CommandLine, QuotedPartsKeepBlanksAndJoinTheirWord) {
  EXPECT_EQ(win32::SplitCommandLine("p \"a b\" c"), (Words{"p", "a b", "c"}));
  EXPECT_EQ(win32::SplitCommandLine("p x\"a b\"y"), (Words{"p", "xa by"}));
  EXPECT_EQ(win32::SplitCommandLine("p \"\" x"), (Words{"p", "", "x"}));
  EXPECT_EQ(win32::SplitCommandLine("p \"open end"), (Words{"p", "open end"}));
  EXPECT_EQ(win32::SplitCommandLine("p \"/silent\""), (Words{"p", "/silent"}));
}

TEST(CommandLine, DoubledQuoteInsideQuotesIsOneQuoteAndClosesThePart) {
  EXPECT_EQ(win32::SplitCommandLine("p \"a\"\"b c\""), (Words{"p", "a\"b", "c"}));
  EXPECT_EQ(win32::SplitCommandLine("p \"\"\"a\""), (Words{"p", "\"a"}));
  EXPECT_EQ(win32::SplitCommandLine("p \"a\"\" b\""), (Words{"p", "a\"", "b"}));
}

TEST(CommandLine, BackslashesCountOnlyBeforeAQuote) {
  EXPECT_EQ(win32::SplitCommandLine("p a\\b c\\\\d e\\"), (Words{"p", "a\\b", "c\\\\d", "e\\"}));
  // Odd: half of them and a quote of the word.
  EXPECT_EQ(win32::SplitCommandLine("p a\\\"b"), (Words{"p", "a\"b"}));
  EXPECT_EQ(win32::SplitCommandLine("p a\\\\\\\"b"), (Words{"p", "a\\\"b"}));
  // Even: half of them, and the quote opens or closes.
  EXPECT_EQ(win32::SplitCommandLine("p a\\\\\"b c\""), (Words{"p", "a\\b c"}));
  EXPECT_EQ(win32::SplitCommandLine("p \"C:\\Temp\\\\\" x"), (Words{"p", "C:\\Temp\\", "x"}));
  // An escaped quote inside a quoted part keeps it open.
  EXPECT_EQ(win32::SplitCommandLine("p \"a \\\" b\" c"), (Words{"p", "a \" b", "c"}));
}

TEST(CommandLine, Utf8PassesThrough) {
  EXPECT_EQ(win32::SplitCommandLine("p \"Grüße an\" \xE2\x82\xAC"),
            (Words{"p", "Grüße an", "\xE2\x82\xAC"}));
}

}  // namespace
