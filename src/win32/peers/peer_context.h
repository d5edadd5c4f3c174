// What the peers of all forms share: the module, the screen's resolution
// (a form's own may differ from it), the fonts, and the form that receives
// the keyboard navigation.
#pragma once

#include <windows.h>

#include "win32/base/monitor_dpi.h"
#include "win32/base/thread_windows.h"
#include "win32/peers/fonts.h"

namespace win32 {

// The form the innermost modal loop runs for, and the windows it disabled.
struct ModalForm {
  HWND form = nullptr;
  DisabledThreadWindows* others = nullptr;
};

struct PeerContext {
  explicit PeerContext(HINSTANCE module) : instance(module), fonts(screen_dpi) {}

  HINSTANCE instance;
  int screen_dpi = ScreenDpi();
  Fonts fonts;
  // The active form; the message loop lets IsDialogMessage handle Tab,
  // arrows and mnemonics for it.
  HWND active_form = nullptr;
  // Child window ids; above IDOK and IDCANCEL, which Enter and Escape send.
  int next_id = 1000;
  ModalForm modal;
};

}  // namespace win32
