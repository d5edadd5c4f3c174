#include "win32/base/window_class.h"

namespace win32 {

void RegisterWindowClass(HINSTANCE instance, const WindowClass& window_class) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, window_class.name, &wc)) return;
  wc.style = window_class.style;
  wc.lpfnWndProc = window_class.procedure;
  wc.hInstance = instance;
  wc.hIcon = window_class.icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = window_class.background;
  wc.lpszClassName = window_class.name;
  RegisterClassExW(&wc);
}

}  // namespace win32
