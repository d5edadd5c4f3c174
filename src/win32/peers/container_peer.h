// A window that holds controls: the form, panels, group boxes, tab sheets.
// It lays out its children, paints its background behind them and passes
// the notifications it receives for a child on to that child's peer.
#pragma once

#include "win32/peers/window_peer.h"

namespace win32 {

class ContainerPeer : public WindowPeer {
 public:
  // Lays out the children for a client area of `size` (96-dpi units).
  void Arrange(ui::Point size);
  void ArrangeChildren() override { Arrange(client_); }
  std::optional<ui::Rect> PlaceOf(const ui::Control& child) const override;

 protected:
  // Until it gets its size, the children are laid out as designed.
  ContainerPeer(ui::Control& control, PeerContext& context, const DpiScale& scale);

  // A child window of the program's own container class.
  void CreateContainer(HWND parent);

  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  void Resized(ui::Point size) override { Arrange(size); }
  // Draws on top of the background: bevels, frames.
  virtual void Paint(HDC /*dc*/, const RECT& /*client*/) {}

 private:
  LRESULT ColorChild(HDC dc, HWND child) const;
  void PaintWindow();

  ui::Point client_;
};

}  // namespace win32
