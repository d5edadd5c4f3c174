#include "win32/peers/tab_sheet_peer.h"

#include <algorithm>

namespace win32 {

TabSheetPeer::TabSheetPeer(ui::TabSheet& sheet, TabControlPeer& tabs)
    : ContainerPeer(sheet, tabs.Context(), tabs.Scale()), tabs_(tabs) {
  CreateContainer(tabs.Handle());
  tabs_.SetTabText(Index(), sheet.Caption());
}

int TabSheetPeer::Index() const {
  const auto& sheets = tabs_.GetControl().Children();
  return static_cast<int>(std::find(sheets.begin(), sheets.end(), &GetControl()) - sheets.begin());
}

void TabSheetPeer::Apply(ui::Change what) {
  switch (what) {
    case ui::Change::Caption:
      tabs_.SetTabText(Index(), GetControl().Caption());
      break;
    case ui::Change::Visible:
      tabs_.ShowActiveSheet();
      break;
    case ui::Change::Bounds:
      break;  // the tab control decides where its sheets stand
    default:
      ContainerPeer::Apply(what);
      break;
  }
}

}  // namespace win32
