// A label, drawn here: bold or normal, wrapped, right-aligned, coloured, on
// its parent's surface; with kAutoSize it takes the size of its text.
#pragma once

#include "ui/label.h"
#include "win32/peers/accessible_static.h"
#include "win32/peers/window_peer.h"

namespace win32 {

class LabelPeer : public WindowPeer {
 public:
  LabelPeer(ui::Label& label, WindowPeer& parent);

  // The text is measured again with the font at the new scale.
  void ChangeScale(const DpiScale& scale) override;

 protected:
  void Apply(ui::Change what) override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  UINT TextFlags() const;
  // The static control's style for the way the text is drawn (wrapped,
  // right-aligned, prefixes), for tools that read the window from outside.
  DWORD StaticStyle() const;
  AccessibleLook Look() const;
  // Measures the text and stores the new bounds in the label; true when they changed.
  bool FitToText();
  bool CoverOneLine();
  void Paint();
  void MouseUp(LPARAM lparam);

  bool pressed_ = false;
};

}  // namespace win32
