// A popup menu, built from its items each time it opens; the chosen item's
// Click runs after the menu has closed.
#pragma once

#include <windows.h>

#include "ui/popup_menu.h"

namespace win32 {

class PopupMenuPeer : public ui::MenuPeer {
 public:
  // `owner` receives the menu's messages while it is open.
  PopupMenuPeer(ui::PopupMenu& menu, HWND owner) : menu_(menu), owner_(owner) {}

  void Update(ui::Change) override {}
  void Popup(ui::Point at) override;

 private:
  ui::PopupMenu& menu_;
  HWND owner_;
};

}  // namespace win32
