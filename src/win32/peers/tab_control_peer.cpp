#include "win32/peers/tab_control_peer.h"

#include <commctrl.h>

#include "win32/base/wide_text.h"

namespace win32 {

TabControlPeer::TabControlPeer(ui::TabControl& tabs, WindowPeer& parent)
    : WindowPeer(tabs, parent.Context(), parent.Scale()), tabs_(tabs) {
  // WS_EX_CONTROLPARENT: Tab goes on into the controls of the active sheet.
  CreateChild(parent.Handle(), {WC_TABCONTROLW, WS_TABSTOP | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT});
}

namespace {

// -1, 1, or 0 for a key that switches no sheet.
int SheetStep(const MSG& message) {
  if (message.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000)) return 0;
  const bool shift = GetKeyState(VK_SHIFT) & 0x8000;
  switch (message.wParam) {
    case VK_TAB:
      return shift ? -1 : 1;
    case VK_NEXT:
      return 1;
    case VK_PRIOR:
      return -1;
    default:
      return 0;
  }
}

bool IsTabControl(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  return lstrcmpiW(name, WC_TABCONTROLW) == 0;
}

// The tab control around the focus, else the form's first one.
HWND TabControlOf(HWND form) {
  for (HWND window = GetFocus(); window && window != form; window = GetParent(window)) {
    if (IsTabControl(window)) return window;
  }
  return FindWindowExW(form, nullptr, WC_TABCONTROLW, nullptr);
}

}  // namespace

bool TabControlPeer::SwitchSheetByKey(HWND form, const MSG& message) {
  const int step = SheetStep(message);
  if (!step) return false;
  HWND tabs = TabControlOf(form);
  auto* peer = tabs ? dynamic_cast<TabControlPeer*>(OfChild(GetParent(tabs), tabs)) : nullptr;
  if (!peer || !IsWindowEnabled(tabs) || !IsWindowVisible(tabs)) return false;
  peer->SwitchSheet(step);
  return true;
}

// The focus goes to the new sheet's first control, or to the tabs when the
// sheet has none.
void TabControlPeer::SwitchSheet(int step) {
  const int count = tabs_.PageCount();
  if (count < 2) return;
  const int chosen = (tabs_.ActivePageIndex() + step + count) % count;
  TabCtrl_SetCurSel(Handle(), chosen);
  Guard([&] { tabs_.ActivatedByUser(chosen); });
  ShowActiveSheet();
  auto* sheet = static_cast<WindowPeer*>(tabs_.Page(chosen).GetPeer());
  HWND first = sheet ? GetNextDlgTabItem(sheet->Handle(), nullptr, FALSE) : nullptr;
  SetFocus(first && IsChild(sheet->Handle(), first) ? first : Handle());
}

void TabControlPeer::SetTabText(int index, const std::string& caption) {
  std::wstring text = Widen(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  if (index >= TabCtrl_GetItemCount(Handle())) {
    TabCtrl_InsertItem(Handle(), index, &item);
  } else {
    TabCtrl_SetItem(Handle(), index, &item);
  }
}

void TabControlPeer::SelectActiveTab() {
  TabCtrl_SetCurSel(Handle(), tabs_.ActivePageIndex());
  ShowActiveSheet();
}

void TabControlPeer::ShowActiveSheet() {
  // The new sheet appears before the others go, so nothing shows through.
  const int active = tabs_.ActivePageIndex();
  if (active < tabs_.PageCount()) ShowSheet(active, tabs_.Page(active).Visible());
  for (int i = 0; i < tabs_.PageCount(); ++i) {
    if (i != active) ShowSheet(i, false);
  }
}

void TabControlPeer::ShowSheet(int index, bool shown) {
  if (auto* sheet = static_cast<WindowPeer*>(tabs_.Page(index).GetPeer())) {
    ShowWindow(sheet->Handle(), shown ? SW_SHOWNA : SW_HIDE);
  }
}

void TabControlPeer::ArrangeChildren() {
  RECT display = ClientRect();
  TabCtrl_AdjustRect(Handle(), FALSE, &display);
  const ui::Point size =
      Scale().ToUnits(display.right - display.left, display.bottom - display.top);
  for (int i = 0; i < tabs_.PageCount(); ++i) {
    if (auto* sheet = static_cast<WindowPeer*>(tabs_.Page(i).GetPeer())) {
      sheet->PlacePixels(display, size);
    }
  }
}

void TabControlPeer::Apply(ui::Change what) {
  if (what == ui::Change::ActiveTab) {
    SelectActiveTab();
  } else {
    WindowPeer::Apply(what);
  }
}

LRESULT TabControlPeer::OnNotify(const NMHDR& header) {
  if (header.code == TCN_SELCHANGE) {
    const int chosen = TabCtrl_GetCurSel(Handle());
    Guard([&] { tabs_.ActivatedByUser(chosen); });
    ShowActiveSheet();
  }
  return 0;
}

}  // namespace win32
