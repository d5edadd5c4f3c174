#include "win32/peers/peer_factory.h"

#include <memory>

#include "win32/peers/button_peer.h"
#include "win32/peers/group_box_peer.h"
#include "win32/peers/image_peer.h"
#include "win32/peers/label_peer.h"
#include "win32/peers/list_view_peer.h"
#include "win32/peers/menu_peer.h"
#include "win32/peers/panel_peer.h"
#include "win32/peers/progress_bar_peer.h"
#include "win32/peers/rich_text_peer.h"
#include "win32/peers/tab_control_peer.h"
#include "win32/peers/tab_sheet_peer.h"
#include "win32/peers/timer_peer.h"

namespace win32 {

namespace {

template <typename Control>
Control& As(ui::Control& control) {
  return static_cast<Control&>(control);
}

std::unique_ptr<WindowPeer> MakePeer(ui::Control& c, WindowPeer& parent) {
  switch (c.Kind()) {
    case ui::ControlKind::Panel:
      return std::make_unique<PanelPeer>(As<ui::Panel>(c), parent);
    case ui::ControlKind::Label:
      return std::make_unique<LabelPeer>(As<ui::Label>(c), parent);
    case ui::ControlKind::Button:
    case ui::ControlKind::CheckBox:
    case ui::ControlKind::RadioButton:
      return std::make_unique<ButtonPeer>(c, parent);
    case ui::ControlKind::GroupBox:
      return std::make_unique<GroupBoxPeer>(As<ui::GroupBox>(c), parent);
    case ui::ControlKind::ListView:
      return std::make_unique<ListViewPeer>(As<ui::ListView>(c), parent);
    case ui::ControlKind::TabControl:
      return std::make_unique<TabControlPeer>(As<ui::TabControl>(c), parent);
    case ui::ControlKind::TabSheet:
      return std::make_unique<TabSheetPeer>(As<ui::TabSheet>(c),
                                            static_cast<TabControlPeer&>(parent));
    case ui::ControlKind::ProgressBar:
      return std::make_unique<ProgressBarPeer>(As<ui::ProgressBar>(c), parent);
    case ui::ControlKind::Image:
      return std::make_unique<ImagePeer>(As<ui::Image>(c), parent);
    case ui::ControlKind::RichText:
      return std::make_unique<RichTextPeer>(As<ui::RichText>(c), parent);
    case ui::ControlKind::Form:
      break;  // forms are top-level windows of their own
  }
  return nullptr;
}

}  // namespace

void RealizeControl(ui::Control& control, WindowPeer& parent) {
  std::unique_ptr<WindowPeer> peer = MakePeer(control, parent);
  if (!peer) return;
  WindowPeer& made = *peer;
  control.AttachPeer(std::move(peer));
  // Windows made one after the other are the Tab order of their parent.
  for (ui::Control* child : control.TabOrder()) RealizeControl(*child, made);
  made.Realized();
}

void RealizeComponent(ui::Component& component, PeerContext& context, HWND fallback_owner) {
  if (auto* timer = dynamic_cast<ui::Timer*>(&component)) {
    timer->AttachPeer(std::make_unique<TimerPeer>(*timer, context.instance));
  } else if (auto* menu = dynamic_cast<ui::PopupMenu*>(&component)) {
    menu->AttachPeer(std::make_unique<PopupMenuPeer>(*menu, fallback_owner));
  }
}

}  // namespace win32
