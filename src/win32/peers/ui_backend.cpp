#include "win32/peers/ui_backend.h"

#include <commctrl.h>

#include <utility>

#include "ui/application.h"
#include "ui/form.h"
#include "win32/base/monitor_dpi.h"
#include "win32/base/thread_windows.h"
#include "win32/peers/form_peer.h"
#include "win32/peers/peer_factory.h"
#include "win32/peers/tab_control_peer.h"
#include "win32/peers/window_classes.h"

namespace win32 {

HINSTANCE UiBackend::Prepare(HINSTANCE instance) {
  DeclareDpiAware();
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  RegisterWindowClasses(instance);
  return instance;
}

UiBackend::UiBackend(HINSTANCE instance) : context_(Prepare(instance)), app_window_(instance) {}

HWND UiBackend::WindowOf(const ui::Control& control) {
  auto* peer = static_cast<const WindowPeer*>(control.GetPeer());
  return peer ? peer->Handle() : nullptr;
}

// Timers and menus work while the form is hidden; its windows wait for its
// first showing.
void UiBackend::Realize(ui::Form& form) {
  app_window_.SetApplication(form.App());
  auto peer = std::make_unique<FormPeer>(form, context_, app_window_.Handle());
  FormPeer& made = *peer;
  form.AttachPeer(std::move(peer));
  for (ui::Component* component : form.Components()) {
    RealizeComponent(*component, context_, app_window_.Handle());
  }
  if (!form.Visible()) return;
  made.CreateWindows();
  made.Update(ui::Change::Front);
}

// One message; false when the loop has to end.
bool UiBackend::PumpMessage() {
  MSG message;
  if (GetMessageW(&message, nullptr, 0, 0) <= 0) return false;
  // Tab, the arrow keys and mnemonics move between the active form's controls.
  HWND form = context_.active_form;
  if (form && TabControlPeer::SwitchSheetByKey(form, message)) return true;
  if (!form || !IsDialogMessageW(form, &message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

void UiBackend::Run() {
  while (PumpMessage()) {
  }
}

void UiBackend::RunModal(ui::Form& form) {
  DisabledThreadWindows others(WindowOf(form));
  const ModalForm outer = std::exchange(context_.modal, {WindowOf(form), &others});
  while (form.Visible()) {
    if (!PumpMessage()) {
      PostQuitMessage(0);  // the outer loop ends too
      break;
    }
  }
  others.Restore();
  context_.modal = outer;
}

void UiBackend::Quit() {
  PostQuitMessage(0);
}

void UiBackend::HideApplicationButton() {
  app_window_.HideTaskbarButton();
}

void UiBackend::SetApplicationTitle(const std::string& title) {
  app_window_.SetTitle(title);
}

void UiBackend::FlashApplicationWindow() {
  FLASHWINFO flash{sizeof(FLASHWINFO), ApplicationWindow(), FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
  FlashWindowEx(&flash);
}

void UiBackend::AnimateCaption(const ui::Form& form, const ui::Rect& from, const ui::Rect& to) {
  const RECT a{from.left, from.top, from.right(), from.bottom()};
  const RECT b{to.left, to.top, to.right(), to.bottom()};
  DrawAnimatedRects(WindowOf(form), IDANI_CAPTION, &a, &b);
}

ui::Point UiBackend::ScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

ui::Point UiBackend::OuterSize(const ui::Form& form) {
  return FormPeer::OuterSizeOf(form, context_);
}

}  // namespace win32
