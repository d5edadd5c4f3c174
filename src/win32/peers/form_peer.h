// A form's top-level window: its class is registered under the form's name,
// so that others find the page by it; it is owned by the application window.
#pragma once

#include "ui/form.h"
#include "win32/peers/container_peer.h"

namespace win32 {

class FormPeer : public ContainerPeer {
 public:
  FormPeer(ui::Form& form, PeerContext& context, HWND owner);
  ~FormPeer() override;

  // The size of the window with frame and caption, in pixels.
  ui::Point OuterSize() const;
  // The same for a form without its window yet.
  static ui::Point OuterSizeOf(const ui::Form& form, const PeerContext& context);

  void Realized() override;

 protected:
  void Apply(ui::Change what) override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void MoveToBounds();
  void ApplyAppWindow();
  void Activated(bool active);

  ui::Form& form_;
  ui::Point client_size_;  // the designed client size the window was last given
  HWND focus_ = nullptr;   // the control that gets the focus back on activation
};

}  // namespace win32
