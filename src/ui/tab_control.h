// A tab control with its pages.
#pragma once

#include <vector>

#include "ui/control.h"

namespace ui {

class TabControl;

// One page of a tab control; its caption is the tab's text.
class TabSheet : public Control {
 public:
  TabSheet(TabControl& tabs, std::string name, std::string caption);
};

class TabControl : public Control {
 public:
  // Room the tabs and the frame take from the control's area at 96 dpi.
  static constexpr int kSheetInsetX = 4, kSheetInsetTop = 24, kSheetInsetBottom = 4;

  TabControl(Control& parent, std::string name, Rect bounds, Options options = kNoOptions)
      : Control(ControlKind::TabControl, &parent.Owner(), &parent, std::move(name), bounds, "",
                options) {}

  int PageCount() const { return static_cast<int>(Children().size()); }
  TabSheet& Page(int index) const { return *static_cast<TabSheet*>(Children().at(index)); }

  int ActivePageIndex() const { return active_; }
  void SetActivePageIndex(int index);
  // The user chose another tab in the window.
  void ActivatedByUser(int index) { active_ = index; }

 private:
  int active_ = 0;
};

}  // namespace ui
