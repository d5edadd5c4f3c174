// A group box: an etched frame with the caption in its top line.
#pragma once

#include "ui/group_box.h"
#include "win32/peers/container_peer.h"

namespace win32 {

class GroupBoxPeer : public ContainerPeer {
 public:
  GroupBoxPeer(ui::GroupBox& box, WindowPeer& parent);
  // It shows the surface it stands on.
  ui::Color Background() const override { return ParentPeer()->Background(); }

 protected:
  void Apply(ui::Change what) override;
  void Paint(HDC dc, const RECT& client) override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
};

}  // namespace win32
