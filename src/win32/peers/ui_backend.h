// The control layer on Win32: every form a top-level window owned by one
// hidden application window, every control a child window, and the message
// loop that drives them.
//
//   win32::UiBackend backend(instance);
//   ui::Application app(dialogs, &backend);
//   ... app.CreateForm<...>(...) ...
//   return app.Run();
#pragma once

#include <windows.h>

#include <string>

#include "ui/backend.h"
#include "ui/control.h"
#include "win32/peers/application_window.h"
#include "win32/peers/peer_context.h"

namespace win32 {

class UiBackend : public ui::Backend {
 public:
  // Makes the process DPI-aware and loads the common controls; create it
  // before any window.
  explicit UiBackend(HINSTANCE instance);

  // The application window: owner of the forms, for FlashWindowEx and the tray.
  HWND ApplicationWindow() const { return app_window_.Handle(); }
  // The window of a control or form, null before the form was first shown.
  static HWND WindowOf(const ui::Control& control);

  void Realize(ui::Form& form) override;
  void Run() override;
  void Quit() override;
  void RunModal(ui::Form& form) override;
  void HideApplicationButton() override;
  void SetApplicationTitle(const std::string& title) override;
  void FlashApplicationWindow() override;
  void AnimateCaption(const ui::Form& form, const ui::Rect& from, const ui::Rect& to) override;
  ui::Point ScreenSize() override;
  ui::Point OuterSize(const ui::Form& form) override;

 private:
  static HINSTANCE Prepare(HINSTANCE instance);
  bool PumpMessage();

  PeerContext context_;
  win32::ApplicationWindow app_window_;
};

}  // namespace win32
