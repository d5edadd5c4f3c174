// A tab control whose sheets are child windows in its display area; only
// the active tab's sheet is shown.
#pragma once

#include <string>

#include "ui/tab_control.h"
#include "win32/peers/window_peer.h"

namespace win32 {

class TabControlPeer : public WindowPeer {
 public:
  TabControlPeer(ui::TabControl& tabs, WindowPeer& parent);

  // Ctrl+Tab and Ctrl+Page Down show the next sheet of the form's tab control,
  // with Shift or Ctrl+Page Up the one before, as in the system's property
  // sheets: Tab itself goes into the sheet and never stops at the tabs.
  // True when `message` was such a key.
  static bool SwitchSheetByKey(HWND form, const MSG& message);

  // For the sheets: their captions are the tabs' texts, and a sheet is
  // shown only while its tab is the active one.
  void SetTabText(int index, const std::string& caption);
  void ShowActiveSheet();

  void Realized() override { SelectActiveTab(); }
  void ArrangeChildren() override;
  LRESULT OnNotify(const NMHDR& header) override;

 protected:
  void Apply(ui::Change what) override;
  void Resized(ui::Point) override { ArrangeChildren(); }

 private:
  void SelectActiveTab();
  void SwitchSheet(int step);
  void ShowSheet(int index, bool shown);

  ui::TabControl& tabs_;
};

}  // namespace win32
