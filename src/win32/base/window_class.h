// Registering the program's own window classes.
#pragma once

#include <windows.h>

namespace win32 {

struct WindowClass {
  const wchar_t* name;
  WNDPROC procedure = DefWindowProcW;
  UINT style = 0;
  HICON icon = nullptr;
  HBRUSH background = nullptr;
};

// Registers the class once; later calls find it registered and do nothing.
void RegisterWindowClass(HINSTANCE instance, const WindowClass& window_class);

}  // namespace win32
