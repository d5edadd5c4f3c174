#include "release/integer_text.h"

#include <gtest/gtest.h>

#include "release/errors.h"

namespace {

using release::ParseInteger;

TEST(IntegerText, AcceptsDecimalHexadecimalAndSigns) {
  EXPECT_EQ(ParseInteger("0"), 0);
  EXPECT_EQ(ParseInteger("+17"), 17);
  EXPECT_EQ(ParseInteger("-17"), -17);
  EXPECT_EQ(ParseInteger("  5"), 5);
  EXPECT_EQ(ParseInteger("007"), 7);
  EXPECT_EQ(ParseInteger("$10"), 16);
  EXPECT_EQ(ParseInteger("-$10"), -16);
  EXPECT_EQ(ParseInteger("0xAbC"), 0xABC);
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseInteger("0x80000000"), INT32_MIN);
}

TEST(IntegerText, RejectsEverythingElse) {
  for (const char* text :
       {"", " ", "5 ", "a", "1a", "abc", "1.5", "0x", "$", "-", "+ 1", "0b1", "12e3", "2147483648",
        "-2147483649", "0x100000000", "$G", "99999999999999999999"}) {
    EXPECT_EQ(ParseInteger(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(IntegerText, StrToIntNamesTheTextInGerman) {
  EXPECT_EQ(release::StrToInt("12"), 12);
  try {
    release::StrToInt("abc");
    FAIL() << "no error";
  } catch (const release::ConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' ist kein gültiger Integerwert");
  }
  EXPECT_THROW(release::StrToInt(""), release::ConvertError);
  EXPECT_EQ(release::StrToIntDef("x", -3), -3);
}

}  // namespace
