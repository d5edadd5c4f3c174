// A form's top-level window: its class is registered under the form's name,
// so that others find the page by it; it is owned by the application window.
// The window and those of the controls are made when the form is first shown:
// most forms of the program are never shown in a run, and start-up waits for
// none of them. A form is drawn at the resolution of its monitor and follows
// it to another one (WM_DPICHANGED), laid out anew from its declared layout.
#pragma once

#include "ui/form.h"
#include "win32/base/handles.h"
#include "win32/peers/container_peer.h"

namespace win32 {

// A form of the Windows side whose layout is measured in pixels (the message
// dialog): it measures again at each new scale, before it is laid out.
class MeasuredLayout {
 public:
  virtual void MeasureAt(const DpiScale& scale) = 0;

 protected:
  ~MeasuredLayout() = default;
};

class FormPeer : public ContainerPeer {
 public:
  FormPeer(ui::Form& form, PeerContext& context, HWND owner);
  ~FormPeer() override;

  void Update(ui::Change what) override;
  // Makes the windows of the form and its controls from their present state,
  // unless they exist.
  void CreateWindows();

  // The size of the window with frame and caption, in pixels; before the
  // window exists, the size it will have.
  ui::Point OuterSize() const;
  // The same for a form that has no peer yet.
  static ui::Point OuterSizeOf(const ui::Form& form, const PeerContext& context);

  void Realized() override;
  void ChangeScale(const DpiScale& scale) override;

 protected:
  void Apply(ui::Change what) override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void MoveToBounds();
  void ApplyAppWindow();
  void Activated(bool active);
  bool HandleDialogKey(WPARAM wparam, LPARAM lparam);
  void PressButton(HWND window);
  void ReportPosition();
  void ChangeDpi(int dpi, const RECT& suggested);
  void FollowWindowDpi();
  void ShowIconsAt(int dpi);

  ui::Form& form_;
  HWND owner_;
  ui::Point client_size_;  // the designed client size the window was last given
  HWND focus_ = nullptr;   // the control that gets the focus back on activation
  UniqueIcon small_icon_;  // the window's icons at its resolution, once it has its own
  UniqueIcon big_icon_;
};

}  // namespace win32
