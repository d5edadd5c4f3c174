// A popup menu, built from its items each time it opens; the chosen item's
// Click runs after the menu has closed.
#pragma once

#include <windows.h>

#include "ui/popup_menu.h"

namespace win32 {

class PopupMenuPeer : public ui::MenuPeer {
 public:
  // The window of the menu's form receives the menu's messages while it is
  // open; `fallback_owner` does while the form has no window.
  PopupMenuPeer(ui::PopupMenu& menu, HWND fallback_owner)
      : menu_(menu), fallback_owner_(fallback_owner) {}

  void Update(ui::Change) override {}
  void Popup(ui::Point at) override;

 private:
  HWND Owner() const;

  ui::PopupMenu& menu_;
  HWND fallback_owner_;
};

}  // namespace win32
