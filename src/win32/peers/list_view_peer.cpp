#include "win32/peers/list_view_peer.h"

#include "ui/popup_menu.h"
#include "win32/base/wide_text.h"

namespace win32 {

namespace {

constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);

}  // namespace

ListViewPeer::ListViewPeer(ui::ListView& list, WindowPeer& parent)
    : WindowPeer(list, parent.Context(), parent.Scale()), list_(list) {
  CreateChild(parent.Handle(),
              {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP, WS_EX_CLIENTEDGE});
  const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
  SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  Fill();
}

void ListViewPeer::Fill() {
  Quietly([&] {
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(Handle());
    FillColumns();
    ListView_SetItemCount(Handle(), list_.ItemCount());  // room for every row at once
    for (int i = 0; i < list_.ItemCount(); ++i) InsertRow(i);
    ShowChecks();
    ShowSelection();
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  });
}

void ListViewPeer::InsertRow(int index) {
  std::wstring caption = Widen(list_.ItemCaption(index));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = caption.data();
  ListView_InsertItem(Handle(), &item);
}

// One message marks every row, then the rows that differ get theirs: a mark
// set row by row costs a round of notifications each, which made a list of
// 1000 packages slow to show.
void ListViewPeer::ShowChecks() {
  int checked = 0;
  for (int i = 0; i < list_.ItemCount(); ++i) checked += list_.ItemChecked(i);
  const bool most_checked = 2 * checked > list_.ItemCount();
  ListView_SetItemState(Handle(), -1, most_checked ? kChecked : kUnchecked, LVIS_STATEIMAGEMASK);
  for (int i = 0; i < list_.ItemCount(); ++i) {
    if (list_.ItemChecked(i) != most_checked) ShowCheck(i);
  }
}

void ListViewPeer::FillColumns() {
  while (ListView_DeleteColumn(Handle(), 0)) {
  }
  const auto& columns = list_.Columns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::wstring caption = Widen(columns[i].caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = caption.data();
    column.cx = ColumnWidth(static_cast<int>(i));
    ListView_InsertColumn(Handle(), static_cast<int>(i), &column);
  }
}

int ListViewPeer::ColumnWidth(int index) const {
  return Scale().ToPixels(list_.Columns()[index].width);
}

void ListViewPeer::ChangeScale(const DpiScale& scale) {
  WindowPeer::ChangeScale(scale);
  for (int i = 0; i < static_cast<int>(list_.Columns().size()); ++i) {
    ListView_SetColumnWidth(Handle(), i, ColumnWidth(i));
  }
}

void ListViewPeer::ShowCheck(int index) {
  ListView_SetCheckState(Handle(), index, list_.ItemChecked(index));
}

void ListViewPeer::ShowCaption(int index) {
  std::wstring caption = Widen(list_.ItemCaption(index));
  ListView_SetItemText(Handle(), index, 0, caption.data());
}

void ListViewPeer::ShowSelection() {
  const int index = list_.ItemIndex();
  ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED);
  if (index < 0) return;
  ListView_SetItemState(Handle(), index, LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(Handle(), index, FALSE);
}

void ListViewPeer::Apply(ui::Change what) {
  switch (what) {
    case ui::Change::Items:
      Fill();
      break;
    case ui::Change::ItemChecked:
      Quietly([&] { ShowCheck(list_.ChangedItem()); });
      break;
    case ui::Change::ItemCaption:
      ShowCaption(list_.ChangedItem());
      break;
    case ui::Change::Selection:
      Quietly([&] { ShowSelection(); });
      break;
    default:
      WindowPeer::Apply(what);
      break;
  }
}

LRESULT ListViewPeer::OnNotify(const NMHDR& header) {
  switch (header.code) {
    case LVN_ITEMCHANGED:
      if (!quiet_) ItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
      return 0;
    case NM_DBLCLK:
      Guard([&] { list_.OnDblClick.Raise(); });
      return 0;
    case NM_RCLICK: {
      POINT cursor;
      GetCursorPos(&cursor);
      PopupContextMenu(cursor);
      return TRUE;  // no WM_CONTEXTMENU after it
    }
    default:
      return 0;
  }
}

void ListViewPeer::ItemChanged(const NMLISTVIEW& change) {
  if (!(change.uChanged & LVIF_STATE)) return;
  const UINT changed = change.uNewState ^ change.uOldState;
  // The first state image arrives when a row is made; that is no user's change.
  const bool check_toggled = change.iItem >= 0 && (changed & LVIS_STATEIMAGEMASK) &&
                             (change.uOldState & LVIS_STATEIMAGEMASK);
  if (check_toggled) {
    const bool checked = (change.uNewState & LVIS_STATEIMAGEMASK) == kChecked;
    Guard([&] {
      list_.CheckChangedByUser(change.iItem, checked);
      list_.OnClick.Raise();
    });
  }
  if (changed & LVIS_SELECTED) {
    const int selected = ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
    Guard([&] { list_.SelectedByUser(selected); });
  }
}

// The menu key and Shift+F10 come as WM_CONTEXTMENU at (-1, -1); a right
// click has had its menu at NM_RCLICK already.
bool ListViewPeer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  const bool from_keyboard =
      static_cast<short>(LOWORD(lparam)) == -1 && static_cast<short>(HIWORD(lparam)) == -1;
  if (message != WM_CONTEXTMENU || !from_keyboard)
    return WindowPeer::HandleMessage(message, wparam, lparam, result);
  PopupContextMenu(KeyboardMenuPoint());
  result = 0;
  return true;
}

// Below the selected row's text, or at the list's top left without one.
POINT ListViewPeer::KeyboardMenuPoint() const {
  POINT at{0, 0};
  RECT row{};
  const int selected = ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
  if (selected >= 0 && ListView_GetItemRect(Handle(), selected, &row, LVIR_LABEL)) {
    at = {row.left + 8, row.bottom};
  }
  ClientToScreen(Handle(), &at);
  return at;
}

void ListViewPeer::PopupContextMenu(POINT at) {
  ui::PopupMenu* menu = list_.ContextMenu();
  if (!menu) return;
  Guard([&] { menu->Popup({at.x, at.y}); });
}

}  // namespace win32
