// The floor that a themed wizard can reach: the bare window of the start-up benchmark with what
// every window of themed controls pays on top, the common controls of version 6 (requested by
// the manifest), InitCommonControlsEx and one push button. Window class "ThemedWindow".
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "one_window.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    CreateWindowExW(0, L"BUTTON", L"Weiter >", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                    300, 380, 75, 23, window, nullptr, create->hInstance, nullptr);
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  if (!InitCommonControlsEx(&controls)) return 1;
  return RunOneWindow(instance, show, WindowProc, L"ThemedWindow", L"Themed window", 485, 452);
}
