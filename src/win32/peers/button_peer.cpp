#include "win32/peers/button_peer.h"

#include "ui/check_box.h"
#include "ui/radio_button.h"

namespace win32 {

namespace {

// The radio buttons of one parent are one group: the first starts it.
bool FirstRadioOfParent(const ui::Control& radio) {
  for (const ui::Control* sibling : radio.Parent()->Children()) {
    if (sibling->Kind() == ui::ControlKind::RadioButton) return sibling == &radio;
  }
  return false;
}

DWORD ButtonStyle(const ui::Control& button) {
  const DWORD tab_stop = button.Has(ui::kNoTabStop) ? 0 : WS_TABSTOP;
  switch (button.Kind()) {
    case ui::ControlKind::CheckBox:
      return BS_CHECKBOX | tab_stop;
    case ui::ControlKind::RadioButton:
      return BS_RADIOBUTTON | (FirstRadioOfParent(button) ? WS_GROUP : 0);
    default:
      return BS_PUSHBUTTON | tab_stop;
  }
}

}  // namespace

ButtonPeer::ButtonPeer(ui::Control& button, WindowPeer& parent)
    : WindowPeer(button, parent.Context(), parent.Scale()) {
  CreateChild(parent.Handle(), {L"BUTTON", ButtonStyle(button)});
  ShowCheck();
}

bool ButtonPeer::Checked() const {
  switch (GetControl().Kind()) {
    case ui::ControlKind::CheckBox:
      return static_cast<const ui::CheckBox&>(GetControl()).Checked();
    case ui::ControlKind::RadioButton:
      return static_cast<const ui::RadioButton&>(GetControl()).Checked();
    default:
      return false;
  }
}

void ButtonPeer::ShowCheck() {
  if (GetControl().Kind() == ui::ControlKind::Button) return;
  SendMessageW(Handle(), BM_SETCHECK, Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  if (GetControl().Kind() != ui::ControlKind::RadioButton) return;
  // Tab enters a group of radio buttons at its chosen one.
  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  const LONG_PTR tab_stop = Checked() && !GetControl().Has(ui::kNoTabStop) ? WS_TABSTOP : 0;
  SetWindowLongPtrW(Handle(), GWL_STYLE, (style & ~WS_TABSTOP) | tab_stop);
}

void ButtonPeer::Apply(ui::Change what) {
  WindowPeer::Apply(what);
  if (what == ui::Change::Checked) ShowCheck();
}

bool ButtonPeer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  // The arrow keys choose within a group of radio buttons: a radio button
  // that gets the focus from the keyboard is clicked, as Windows does with
  // its own (Wine does so only for automatic ones).
  if (message == WM_SETFOCUS && GetControl().Kind() == ui::ControlKind::RadioButton && !Checked() &&
      !(GetKeyState(VK_LBUTTON) & 0x8000)) {
    Guard([&] { GetControl().Click(); });
  }
  return WindowPeer::HandleMessage(message, wparam, lparam, result);
}

void ButtonPeer::OnCommand(WORD code) {
  if (code == BN_CLICKED) Guard([&] { GetControl().Click(); });
}

}  // namespace win32
