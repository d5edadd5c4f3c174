// An image: its picture stretched to the control, on the parent's surface
// (which shows through an icon's transparent parts).
#pragma once

#include "ui/image.h"
#include "win32/peers/accessible_static.h"
#include "win32/peers/window_peer.h"

namespace win32 {

class ImagePeer : public WindowPeer {
 public:
  ImagePeer(ui::Image& image, WindowPeer& parent);

 protected:
  void Apply(ui::Change what) override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void Paint();
  AccessibleLook Look() const;

  ui::Image& image_;
};

}  // namespace win32
