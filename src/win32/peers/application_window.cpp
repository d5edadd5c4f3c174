#include "win32/peers/application_window.h"

#include "win32/base/window_class.h"

#include <stdexcept>

#include "ui/application.h"
#include "win32/base/wide_text.h"

namespace win32 {

namespace {

constexpr wchar_t kClass[] = L"InstallerApplication";

}  // namespace

ApplicationWindow::ApplicationWindow(HINSTANCE instance) {
  // No icon: the window is never shown.
  RegisterWindowClass(instance, {kClass, WindowProc});
  // No size: even if it were shown, there would be nothing of it on the screen.
  window_ = CreateWindowExW(0, kClass, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                            0, nullptr, nullptr, instance, nullptr);
  if (!window_) throw std::runtime_error("Fehler beim Erzeugen des Anwendungsfensters");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ApplicationWindow::~ApplicationWindow() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void ApplicationWindow::SetTitle(const std::string& title) {
  SetWindowTextW(window_, Widen(title).c_str());
}

// The window is never shown: a tool window has no taskbar button even when
// shown, and showing one costs the first page time under Wine.
void ApplicationWindow::HideTaskbarButton() {
  SetWindowLongPtrW(window_, GWL_EXSTYLE,
                    GetWindowLongPtrW(window_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
}

LRESULT CALLBACK ApplicationWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
  auto* self = reinterpret_cast<ApplicationWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  ui::Application* app = self ? self->app_ : nullptr;
  if (!app) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_CLOSE:
      if (app->MainForm()) app->Guard([&] { app->MainForm()->Close(); });
      return 0;
    // The program's one answer to the end of the session.
    case WM_QUERYENDSESSION: {
      bool may_end = true;
      app->Guard([&] { may_end = app->QueryEndSession(); });
      return may_end;
    }
    case WM_ENDSESSION:
      if (!wparam) {
        app->Guard([&] { app->SessionEndCancelled(); });
        return 0;
      }
      // The system ends the process once every window has had the message:
      // ending it here, while other windows still wait for theirs, makes
      // Wine's end of the session give up on the programs after this one.
      // The run's exit code is set for a loop that ends all the same.
      app->Guard([&] { app->SessionEnds(); });
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace win32
