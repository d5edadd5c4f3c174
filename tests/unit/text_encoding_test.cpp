#include "release/text_encoding.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(TextEncoding, Utf16SurrogatePairsAndBrokenUnits) {
  // U+1F600 as a pair, then a lone high surrogate, then 'A', then a lone low one.
  EXPECT_EQ(release::Utf16LeToUtf8("\x3D\xD8\x00\xDE\x3D\xD8"s + "A\0\x00\xDE"s),
            "\xF0\x9F\x98\x80" + kReplacement + "A" + kReplacement);
  EXPECT_EQ(release::Utf16LeToUtf8("A\0B"s), "A" + kReplacement);
}

TEST(TextEncoding, InvalidUtf8IsReplacedBytewise) {
  EXPECT_EQ(release::SanitizeUtf8("ok \xC3\xA4"), "ok \xC3\xA4");
  EXPECT_EQ(release::SanitizeUtf8("\xC0\xAF"), kReplacement + kReplacement);  // overlong '/'
  EXPECT_EQ(release::SanitizeUtf8("\xF4\x90\x80\x80"),
            kReplacement + kReplacement + kReplacement + kReplacement);       // above U+10FFFF
  EXPECT_EQ(release::SanitizeUtf8("\xE2\x82"), kReplacement + kReplacement);  // cut short
  // Cut short by the end of the view, although the byte after it would fit.
  EXPECT_EQ(release::SanitizeUtf8(std::string_view("\xE2\x82\xAC", 2)),
            kReplacement + kReplacement);
}

TEST(TextEncoding, WithoutByteOrderMarkTheAnsiDecoderIsUsed) {
  const auto upper = [](std::string_view b) { return "ansi:" + std::string(b); };
  EXPECT_EQ(release::DecodeText("abc", upper), "ansi:abc");
  EXPECT_EQ(release::DecodeText("\xEF\xBB\xBF"s + "abc", upper), "abc");
  EXPECT_EQ(release::DecodeText("\xFF\xFE"s + "a\0"s, upper), "a");
  EXPECT_EQ(release::DecodeText("", upper), "ansi:");
}

TEST(TextEncoding, PrefixLengthCountsCodePoints) {
  EXPECT_EQ(release::Utf8PrefixLength("a\xC3\xA4\xE2\x82\xAC"s + "b", 3), 6u);
  EXPECT_EQ(release::Utf8PrefixLength("ab", 5), 2u);
  EXPECT_EQ(release::Utf8PrefixLength("", 1), 0u);
}

}  // namespace
