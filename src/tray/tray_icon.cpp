#include "tray/tray_icon.h"

#include "tray/tray_tip.h"

namespace tray {

namespace {

// Windows' default double-click time, until the peer sets the system's own.
constexpr unsigned kDefaultDoubleClickMs = 500;

}  // namespace

TCoolTrayIcon::TCoolTrayIcon(ui::Form& owner, std::string name, ImageList* icon_list,
                             ui::PopupMenu* popup_menu, ui::Options options)
    : Component(&owner, std::move(name)),
      SingleClickTimer(owner, "SingleClickTimer", kDefaultDoubleClickMs),
      icon_visible_(!(options & ui::kHidden)),
      popup_menu_(popup_menu) {
  owner.AddComponent(this);
  SingleClickTimer.OnTimer.Bind(this, &TCoolTrayIcon::SingleClickTimerTick);
  if (icon_list) SetIconList(icon_list);
}

TCoolTrayIcon::~TCoolTrayIcon() {
  SetIconVisible(false);
}

void TCoolTrayIcon::SetIconList(ImageList* list) {
  icon_list_ = list;
  SetIconIndex(0);
}

void TCoolTrayIcon::SetIconIndex(int index) {
  if (icon_list_) {
    icon_index_ = index < icon_list_->Count() ? index : icon_list_->Count() - 1;
    picture_ = icon_list_->Picture(icon_index_);
  } else {
    icon_index_ = 0;
  }
  UpdateTrayIcon();
}

void TCoolTrayIcon::SetIconVisible(bool visible) {
  if (visible) {
    AddTrayIcon();
  } else {
    RemoveTrayIcon();
  }
}

void TCoolTrayIcon::SetHint(std::string hint) {
  hint_ = std::move(hint);
  UpdateTrayIcon();
}

void TCoolTrayIcon::SetShowHint(bool show_hint) {
  show_hint_ = show_hint;
  UpdateTrayIcon();
}

std::string TCoolTrayIcon::Tip() const {
  return TrayTip(hint_, show_hint_);
}

bool TCoolTrayIcon::AddTrayIcon() {
  icon_visible_ = true;
  return Notify(TrayCommand::Add);
}

bool TCoolTrayIcon::RemoveTrayIcon() {
  icon_visible_ = false;
  return Notify(TrayCommand::Delete);
}

bool TCoolTrayIcon::UpdateTrayIcon() {
  return Notify(TrayCommand::Modify);
}

void TCoolTrayIcon::TaskbarCreated() {
  if (icon_visible_) AddTrayIcon();
}

bool TCoolTrayIcon::Notify(TrayCommand command) {
  auto* peer = static_cast<TrayPeer*>(GetPeer());
  return peer && peer->Notify(command);
}

}  // namespace tray
