#include "win32/peers/container_peer.h"

#include <algorithm>

#include "ui/layout.h"
#include "win32/peers/colors.h"
#include "win32/peers/window_classes.h"

namespace win32 {

ContainerPeer::ContainerPeer(ui::Control& control, PeerContext& context, const DpiScale& scale)
    : WindowPeer(control, context, scale), client_(ui::DesignClientSize(control)) {}

void ContainerPeer::CreateContainer(HWND parent) {
  // WS_EX_CONTROLPARENT: Tab and the arrow keys go on into the children.
  CreateChild(parent, {kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT});
}

void ContainerPeer::Arrange(ui::Point size) {
  client_ = size;
  const std::vector<ui::Rect> places = ui::LayoutChildren(GetControl(), size);
  const auto& children = GetControl().Children();
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (auto* child = static_cast<WindowPeer*>(children[i]->GetPeer())) child->Place(places[i]);
  }
}

std::optional<ui::Rect> ContainerPeer::PlaceOf(const ui::Control& child) const {
  const auto& children = GetControl().Children();
  const auto found = std::find(children.begin(), children.end(), &child);
  if (found == children.end()) return std::nullopt;
  return ui::LayoutChildren(GetControl(), client_)[found - children.begin()];
}

bool ContainerPeer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND: {
      const RECT client = ClientRect();
      const HDC dc = reinterpret_cast<HDC>(wparam);
      FillRect(dc, &client, SolidBrush(dc, Background()));
      result = 1;
      return true;
    }
    case WM_PAINT:
      PaintWindow();
      return true;
    case WM_COMMAND:
      if (WindowPeer* child = OfChild(Handle(), reinterpret_cast<HWND>(lparam))) {
        child->OnCommand(HIWORD(wparam));
        return true;
      }
      break;
    case WM_NOTIFY:
      if (WindowPeer* child = OfChild(Handle(), reinterpret_cast<const NMHDR*>(lparam)->hwndFrom)) {
        result = child->OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
        return true;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      result = ColorChild(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
      return true;
    default:
      break;
  }
  return WindowPeer::HandleMessage(message, wparam, lparam, result);
}

LRESULT ContainerPeer::ColorChild(HDC dc, HWND child) const {
  SetBkColor(dc, ToColorRef(Background()));
  if (WindowPeer* peer = OfChild(Handle(), child))
    SetTextColor(dc, ToColorRef(peer->GetControl().FontColor()));
  return reinterpret_cast<LRESULT>(SolidBrush(dc, Background()));
}

void ContainerPeer::PaintWindow() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  Paint(dc, ClientRect());
  EndPaint(Handle(), &paint);
}

}  // namespace win32
