// A panel: button face or white, with an etched line when lowered.
#pragma once

#include "ui/panel.h"
#include "win32/peers/container_peer.h"

namespace win32 {

class PanelPeer : public ContainerPeer {
 public:
  PanelPeer(ui::Panel& panel, WindowPeer& parent);
  ui::Color Background() const override;

 protected:
  void Paint(HDC dc, const RECT& client) override;
};

}  // namespace win32
