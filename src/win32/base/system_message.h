// The system's own text for an error code, in the user's language.
#pragma once

#include <windows.h>

#include <string>

namespace win32 {

// One sentence without the closing full stop, which the error report adds.
std::string SystemMessage(DWORD error);

}  // namespace win32
