// Reading a file whole and decoding ANSI text: what the installer and the
// release checker both read a release with.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace win32 {

// Whole content of a file (path in UTF-8), or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Text in the system's ANSI code page, returned as UTF-8.
std::string DecodeAnsiText(std::string_view bytes);

}  // namespace win32
