// Names that a test driver in another process reads to find a control: the
// window property "ControlName" holds a global atom of the name.
#pragma once

#include <windows.h>

namespace win32 {

// The property goes away, and the atom with it, when the window is destroyed.
void SetControlName(HWND window, const wchar_t* name);

}  // namespace win32
