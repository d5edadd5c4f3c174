#include "win32/peers/menu_peer.h"

#include "ui/application.h"
#include "win32/base/wide_text.h"
#include "win32/peers/window_peer.h"

namespace win32 {

namespace {

HMENU BuildMenu(const std::vector<ui::MenuItem*>& items) {
  HMENU menu = CreatePopupMenu();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const UINT id = static_cast<UINT>(i + 1);  // 0 is "nothing chosen"
    if (items[i]->IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuW(menu, MF_STRING, id, Widen(items[i]->Caption()).c_str());
    if (items[i]->IsDefault()) SetMenuDefaultItem(menu, id, FALSE);
  }
  return menu;
}

}  // namespace

HWND PopupMenuPeer::Owner() const {
  const auto* form = static_cast<const WindowPeer*>(menu_.Owner().GetPeer());
  return form && form->Handle() ? form->Handle() : fallback_owner_;
}

void PopupMenuPeer::Popup(ui::Point at) {
  const auto& items = menu_.Items();
  HMENU menu = BuildMenu(items);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Owner(), nullptr));
  DestroyMenu(menu);
  if (chosen <= 0 || chosen > static_cast<int>(items.size())) return;
  menu_.Owner().App().Guard([&] { items[chosen - 1]->Click(); });
}

}  // namespace win32
