#include "win32/peers/button_peer.h"

#include <algorithm>
#include <vector>

#include "ui/check_box.h"
#include "ui/radio_button.h"
#include "win32/base/wide_text.h"
#include "win32/peers/fonts.h"

namespace win32 {

namespace {

// The room a push button leaves at each end of its caption (96-dpi units).
constexpr int kCaptionMargin = 5;

// The radio buttons of one parent are one group: the first starts it.
bool FirstRadioOfParent(const ui::Control& radio) {
  for (const ui::Control* sibling : radio.Parent()->Children()) {
    if (sibling->Kind() == ui::ControlKind::RadioButton) return sibling == &radio;
  }
  return false;
}

// The radio buttons of the parent that can take the focus, in Tab order.
std::vector<ui::Control*> GroupOf(const ui::Control& radio) {
  std::vector<ui::Control*> group;
  for (ui::Control* sibling : radio.Parent()->TabOrder()) {
    if (sibling->Kind() == ui::ControlKind::RadioButton && sibling->Showing() && sibling->Enabled())
      group.push_back(sibling);
  }
  return group;
}

int ArrowStep(WPARAM key) {
  switch (key) {
    case VK_DOWN:
    case VK_RIGHT:
      return 1;
    case VK_UP:
    case VK_LEFT:
      return -1;
    default:
      return 0;
  }
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
    : WindowPeer(button, parent.Context(), parent.Scale()), least_width_(button.Bounds().width) {
  // Measured first, so that the window is made at its size.
  FitToCaption();
  CreateChild(parent.Handle(), {L"BUTTON", ButtonStyle(button)});
  ShowCheck();
}

// The caption as the button draws it: one line, an '&' marking its access key.
bool ButtonPeer::FitToCaption() {
  ui::Control& button = GetControl();
  if (!button.Has(ui::kAutoSize)) return false;
  const SIZE caption = MeasureText(Font(), Widen(button.Caption()), DT_SINGLELINE);
  const ui::Rect old = button.Bounds();
  const int width =
      std::max(least_width_, Scale().ToUnitsCovering(caption.cx) + 2 * kCaptionMargin);
  const bool grows_left = button.Has(ui::kAnchorRight) && !button.Has(ui::kAnchorLeft);
  const ui::Rect fitted{grows_left ? old.right() - width : old.left, old.top, width, old.height};
  if (fitted == old) return false;
  button.StoreBounds(fitted);
  return true;
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
  if (what == ui::Change::Caption && FitToCaption()) ParentPeer()->ArrangeChildren();
}

bool ButtonPeer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (GetControl().Kind() == ui::ControlKind::RadioButton &&
      HandleRadioKeys(message, wparam, lparam, result))
    return true;
  return WindowPeer::HandleMessage(message, wparam, lparam, result);
}

// The arrow keys choose within the radio buttons of one parent, even with
// other controls between them, which would end a dialog group. A radio button
// that gets the focus from the keyboard is clicked, as Windows does with its
// own.
bool ButtonPeer::HandleRadioKeys(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_GETDLGCODE:
      result = ClassDefault(message, wparam, lparam) | DLGC_WANTARROWS;
      return true;
    case WM_KEYDOWN:
      if (!ArrowStep(wparam)) return false;
      FocusRadio(ArrowStep(wparam));
      return true;
    case WM_SETFOCUS:
      if (!Checked() && !(GetKeyState(VK_LBUTTON) & 0x8000)) Guard([&] { GetControl().Click(); });
      return false;
    default:
      return false;
  }
}

void ButtonPeer::FocusRadio(int step) {
  const std::vector<ui::Control*> group = GroupOf(GetControl());
  const auto at = std::find(group.begin(), group.end(), &GetControl());
  if (at == group.end() || group.size() < 2) return;
  const int count = static_cast<int>(group.size());
  const int next = (static_cast<int>(at - group.begin()) + step + count) % count;
  if (auto* peer = static_cast<WindowPeer*>(group[next]->GetPeer())) SetFocus(peer->Handle());
}

void ButtonPeer::OnCommand(WORD code) {
  if (code == BN_CLICKED) Guard([&] { GetControl().Click(); });
}

}  // namespace win32
