// A report-style list view with a check box per row, full-row selection and
// one selected row at most. What the user changes in the window goes to the
// list object; what the object changes is shown without coming back.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/list_view.h"
#include "win32/peers/window_peer.h"

namespace win32 {

class ListViewPeer : public WindowPeer {
 public:
  ListViewPeer(ui::ListView& list, WindowPeer& parent);
  LRESULT OnNotify(const NMHDR& header) override;
  // The columns keep their widths in units.
  void ChangeScale(const DpiScale& scale) override;

 protected:
  void Apply(ui::Change what) override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  // Runs a change made here with the user's notifications muted.
  template <typename Action>
  void Quietly(Action&& action) {
    quiet_ = true;
    action();
    quiet_ = false;
  }
  void Fill();
  void InsertRow(int index);
  void ShowChecks();
  void FillColumns();
  int ColumnWidth(int index) const;
  void ShowCheck(int index);
  void ShowCaption(int index);
  void ShowSelection();
  void ItemChanged(const NMLISTVIEW& change);
  void PopupContextMenu(POINT at);
  POINT KeyboardMenuPoint() const;

  ui::ListView& list_;
  bool quiet_ = false;
};

}  // namespace win32
