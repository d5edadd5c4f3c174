// The least a Win32 program does to show a window: the floor that the start-up benchmark
// measures the installer against. Window class "BareWindow".
#include <windows.h>

#include "one_window.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  return RunOneWindow(instance, show, WindowProc, L"BareWindow", L"Bare window", 485, 452);
}
