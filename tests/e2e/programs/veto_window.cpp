// A program with unsaved work: its window refuses the end of the session (answers
// WM_QUERYENDSESSION with FALSE), as an editor whose user has not saved does. It counts the
// refusals in the window's title ("Vetoed 1", ...), so a test can tell that it was asked.
// Window class "VetoWindow".
#include <windows.h>

#include <string>

#include "one_window.h"

namespace {

int refusals = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      SetWindowTextW(window, (L"Vetoed " + std::to_wstring(++refusals)).c_str());
      return FALSE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  return RunOneWindow(instance, show, WindowProc, L"VetoWindow", L"Vetoed 0", 300, 200);
}
