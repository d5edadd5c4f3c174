// Integer conversion of texts read from the release files: decimal, or
// hexadecimal after "0x", "0X" or "$", with an optional sign in front.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace release {

// The value of `text`, or nothing when it is not an integer. Leading blanks
// are skipped; anything after the digits makes the text invalid.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// The value of `text`; throws ConvertError naming the text when it is not an integer.
std::int32_t StrToInt(std::string_view text);

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

}  // namespace release
