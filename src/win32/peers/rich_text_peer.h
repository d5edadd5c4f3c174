// A read-only rich edit box for long texts, lines broken by carriage returns.
#pragma once

#include "ui/rich_text.h"
#include "win32/peers/window_peer.h"

namespace win32 {

class RichTextPeer : public WindowPeer {
 public:
  RichTextPeer(ui::RichText& text, WindowPeer& parent);

 protected:
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
};

}  // namespace win32
