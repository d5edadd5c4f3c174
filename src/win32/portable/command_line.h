// Splitting a Windows command line into words, by the rules of the system's
// CommandLineToArgvW, so that reading the arguments needs no shell DLL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace win32 {

// The program's name first, then the arguments. Blanks and tabs separate
// words outside double quotes. In an argument, 2n backslashes before a quote
// give n backslashes and the quote opens or closes a quoted part, 2n + 1 give
// n backslashes and a quote; "" inside a quoted part gives one quote and
// closes it. Backslashes before anything else stay as they are. The
// program's name ends at the first blank, or is the text within its quotes.
std::vector<std::string> SplitCommandLine(std::string_view line);

}  // namespace win32
