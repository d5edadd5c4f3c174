// The application's own hidden window: titled with the application title and
// owner of every form. Hiding its taskbar button leaves the taskbar to the
// pages that ask for a button of their own, also should the window be shown.
#pragma once

#include <windows.h>

#include <string>

namespace ui {
class Application;
}

namespace win32 {

class ApplicationWindow {
 public:
  explicit ApplicationWindow(HINSTANCE instance);
  ~ApplicationWindow();
  ApplicationWindow(const ApplicationWindow&) = delete;
  ApplicationWindow& operator=(const ApplicationWindow&) = delete;

  HWND Handle() const { return window_; }
  // Closing this window closes the application's main form.
  void SetApplication(ui::Application& app) { app_ = &app; }
  void SetTitle(const std::string& title);
  void HideTaskbarButton();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HWND window_;
  ui::Application* app_ = nullptr;
};

}  // namespace win32
