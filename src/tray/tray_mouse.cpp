// How mouse actions on the tray icon become a menu, a click or a double click.
#include "tray/tray_icon.h"

namespace tray {

void TCoolTrayIcon::MouseNotification(TrayMouse message) {
  if (!enabled_) return;
  switch (message) {
    case TrayMouse::RightDown:
      ShowTrayMenu();
      break;
    case TrayMouse::LeftDoubleClick:
      LeftDoubleClick();
      break;
    case TrayMouse::LeftDown:
      LeftButtonDown();
      break;
    case TrayMouse::LeftUp:
      LeftButtonUp();
      break;
    default:
      break;
  }
}

void TCoolTrayIcon::LeftButtonDown() {
  SingleClickTimer.SetEnabled(true);
  left_went_down_ = true;
}

// A release after the double-click time has passed is a click at once;
// otherwise the timer decides.
void TCoolTrayIcon::LeftButtonUp() {
  if (!left_went_down_) return;
  click_ready_ = SingleClickTimer.Enabled();
  left_went_down_ = false;
  if (!click_ready_) OnClick.Raise();
}

void TCoolTrayIcon::LeftDoubleClick() {
  click_ready_ = false;
  double_clicked_ = true;
  OnDblClick.Raise();
  if (!popup_menu_) return;
  if (ui::MenuItem* item = popup_menu_->DefaultItem()) item->Click();
}

void TCoolTrayIcon::SingleClickTimerTick() {
  SingleClickTimer.SetEnabled(false);
  const bool click = click_ready_ && !double_clicked_;
  if (click) click_ready_ = false;
  double_clicked_ = false;
  if (click) OnClick.Raise();
}

// The menu opens when the right button goes down, not when it is released.
void TCoolTrayIcon::ShowTrayMenu() {
  auto* peer = static_cast<TrayPeer*>(GetPeer());
  if (popup_menu_ && peer) peer->ShowMenu(*popup_menu_);
}

}  // namespace tray
