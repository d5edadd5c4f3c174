#include "ui/list_view.h"

namespace ui {

void ListView::AddColumn(std::string caption, int width) {
  columns_.push_back({std::move(caption), width});
  Changed(Change::Items);
}

void ListView::ClearItems() {
  items_.clear();
  item_index_ = -1;
  Changed(Change::Items);
}

void ListView::AddItem(std::string caption, bool checked) {
  items_.push_back({std::move(caption), checked});
  Changed(Change::Items);
}

const ListView::Item& ListView::At(int index) const {
  if (index < 0 || index >= ItemCount()) throw ListIndexError(index);
  return items_[index];
}

void ListView::SetItemChecked(int index, bool checked) {
  if (At(index).checked == checked) return;
  items_[index].checked = checked;
  changed_item_ = index;
  Changed(Change::ItemChecked);
}

void ListView::SetItemCaption(int index, std::string caption) {
  if (At(index).caption == caption) return;
  items_[index].caption = std::move(caption);
  changed_item_ = index;
  Changed(Change::ItemCaption);
}

void ListView::SetItemIndex(int index) {
  if (index != -1) At(index);
  if (index == item_index_) return;
  item_index_ = index;
  Changed(Change::Selection);
}

void ListView::CheckChangedByUser(int index, bool checked) {
  if (index >= 0 && index < ItemCount()) items_[index].checked = checked;
}

void ListView::SelectedByUser(int index) {
  item_index_ = index >= 0 && index < ItemCount() ? index : -1;
}

}  // namespace ui
