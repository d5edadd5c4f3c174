// Names that a test driver in another process reads to find a control: the
// window property "ControlName" holds a global atom of the name. Once per
// window.
#pragma once

#include <windows.h>

namespace win32 {

// The property goes away, and the atom with it, when the window is destroyed.
void SetControlName(HWND window, const wchar_t* name);

// The same for a window whose own procedure calls ForgetControlName when it
// is destroyed (WM_NCDESTROY), without a watcher of its own in front of it:
// every message pays for each such watcher.
void AttachControlName(HWND window, const wchar_t* name);
void ForgetControlName(HWND window);

}  // namespace win32
