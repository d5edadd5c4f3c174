// Turning the bytes of a text file into UTF-8: a byte-order mark selects UTF-8
// or UTF-16 LE; without one the text is in the system's ANSI code page.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace release {

using AnsiDecoder = std::function<std::string(std::string_view)>;

// Bytes of a file as UTF-8 text, without the byte-order mark.
std::string DecodeText(std::string_view bytes, const AnsiDecoder& decode_ansi);

// UTF-16 LE bytes as UTF-8; unpaired surrogates and a lone last byte become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8, as Windows decodes them (the ANSI code page of German and
// English Windows).
std::string Windows1252ToUtf8(std::string_view bytes);
// UTF-8 text in Windows-1252; a character it lacks becomes "?".
std::string Utf8ToWindows1252(std::string_view text);

// UTF-8 text as UTF-16 LE bytes; what is not valid UTF-8 becomes U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text);

// Valid UTF-8 kept as it is; every byte that does not start a valid sequence becomes U+FFFD.
std::string SanitizeUtf8(std::string_view bytes);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t code_point);

// Byte length of the first `count` code points of valid UTF-8 text (all of it when shorter).
std::size_t Utf8PrefixLength(std::string_view text, std::size_t count);

}  // namespace release
