#include "ui/tab_control.h"

namespace ui {

namespace {

Rect SheetBounds(const TabControl& tabs) {
  const Rect& b = tabs.Bounds();
  return {TabControl::kSheetInsetX, TabControl::kSheetInsetTop,
          b.width - 2 * TabControl::kSheetInsetX,
          b.height - TabControl::kSheetInsetTop - TabControl::kSheetInsetBottom};
}

}  // namespace

TabSheet::TabSheet(TabControl& tabs, std::string name, std::string caption)
    : Control(ControlKind::TabSheet, &tabs.Owner(), &tabs, std::move(name), SheetBounds(tabs),
              std::move(caption), kNoOptions) {}

void TabControl::SetActivePageIndex(int index) {
  if (index < 0 || index >= PageCount() || index == active_) return;
  active_ = index;
  Changed(Change::ActiveTab);
}

}  // namespace ui
