// A program with unsaved work: its window refuses the end of the session (answers
// WM_QUERYENDSESSION with FALSE), as an editor whose user has not saved does. It counts the
// refusals in the window's title ("Vetoed 1", ...), so a test can tell that it was asked.
// Window class "VetoWindow".
#include <windows.h>

#include <string>

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
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = L"VetoWindow";
  if (!RegisterClassExW(&window_class)) return 1;
  HWND window = CreateWindowExW(0, L"VetoWindow", L"Vetoed 0", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 300, 200, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
