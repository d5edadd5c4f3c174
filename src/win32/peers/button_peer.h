// Push buttons, check boxes and radio buttons. Check marks are not automatic:
// a click goes to the control object, and the window shows the mark the
// object then holds. A push button with kAutoSize is as wide as its caption
// needs, never narrower than declared; anchored to the right alone, it grows
// to the left.
#pragma once

#include "win32/peers/window_peer.h"

namespace win32 {

class ButtonPeer : public WindowPeer {
 public:
  ButtonPeer(ui::Control& button, WindowPeer& parent);
  void OnCommand(WORD code) override;

 protected:
  void Apply(ui::Change what) override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  bool Checked() const;
  void ShowCheck();
  // Measures the caption and stores the new bounds in the button; true when they changed.
  bool FitToCaption();
  bool HandleRadioKeys(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void FocusRadio(int step);

  const int least_width_;  // as declared, in 96-dpi units
};

}  // namespace win32
