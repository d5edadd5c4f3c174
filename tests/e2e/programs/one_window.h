// The whole of a test program that is one top-level window: registers its class, shows it
// and runs the message loop until the window is destroyed. Returns the program's exit code.
#pragma once

#include <windows.h>

inline int RunOneWindow(HINSTANCE instance, int show, WNDPROC procedure, const wchar_t* class_name,
                        const wchar_t* title, int width, int height) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = class_name;
  if (!RegisterClassExW(&window_class)) return 1;
  HWND window = CreateWindowExW(0, class_name, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, width, height, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
