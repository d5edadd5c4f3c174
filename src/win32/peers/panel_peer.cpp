#include "win32/peers/panel_peer.h"

namespace win32 {

PanelPeer::PanelPeer(ui::Panel& panel, WindowPeer& parent)
    : ContainerPeer(panel, parent.Context(), parent.Scale()) {
  CreateContainer(parent.Handle());
}

ui::Color PanelPeer::Background() const {
  return GetControl().Has(ui::kWhiteBackground) ? ui::kWhite : ui::kButtonFace;
}

void PanelPeer::Paint(HDC dc, const RECT& client) {
  // A lowered bevel: shadow above and left, light below and right; on a
  // panel two pixels high that is an etched line.
  RECT edge = client;
  if (GetControl().Has(ui::kLowered)) DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace win32
