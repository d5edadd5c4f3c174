// What a screen reader learns of a window of the program's own classes that
// draws a text, a picture or a group's frame: the system's standard object of the window,
// which knows its place, state and neighbours, with the role and name of what
// the window shows (the standard object knows the class as no static control
// and has no role for it). The proxy of a named class
// (CreateStdAccessibleProxy) is not used: Wine has no such function, and a
// call of it raises an exception in the window procedure.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

#include <optional>
#include <string>

namespace win32 {

struct AccessibleLook {
  long role;                         // ROLE_SYSTEM_STATICTEXT or ROLE_SYSTEM_GRAPHIC
  std::optional<std::wstring> name;  // none for a picture that is decoration
};

// The answer to WM_GETOBJECT; false for any object but the client area, and
// where the system has no accessibility DLL.
// The text as a static control shows it, with its prefixes processed.
std::wstring WithoutPrefixes(const std::wstring& text);

bool AnswerAccessibleObject(HWND window, WPARAM wparam, LPARAM lparam, const AccessibleLook& look,
                            LRESULT& result);

}  // namespace win32
