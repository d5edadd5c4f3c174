#include "ui/popup_menu.h"

#include <stdexcept>

namespace ui {

MenuItem::MenuItem(PopupMenu& menu, std::string name, std::string caption, Options options)
    : menu_(menu), name_(std::move(name)), caption_(std::move(caption)), options_(options) {
  if (options & ~(kDefaultItem | kSeparator)) {
    throw std::logic_error(name_ + ": option not allowed for a MenuItem");
  }
  menu_.items_.push_back(this);
}

void MenuItem::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  menu_.ItemChanged();
}

MenuItem* PopupMenu::DefaultItem() const {
  for (MenuItem* item : items_) {
    if (item->IsDefault()) return item;
  }
  return nullptr;
}

void PopupMenu::Popup(Point at) {
  if (auto* peer = static_cast<MenuPeer*>(GetPeer())) peer->Popup(at);
}

}  // namespace ui
