// Push buttons, check boxes and radio buttons. Check marks are not automatic:
// a click goes to the control object, and the window shows the mark the
// object then holds.
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
  bool HandleRadioKeys(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void FocusRadio(int step);
};

}  // namespace win32
