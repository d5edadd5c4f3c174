// A report-style list with a check box per row.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

class PopupMenu;

// A row number that the list does not have.
class ListIndexError : public std::out_of_range {
 public:
  explicit ListIndexError(int index)
      : std::out_of_range("Listenindex überschreitet das Maximum (" + std::to_string(index) + ")") {
  }
};

class ListView : public Control {
 public:
  struct Column {
    std::string caption;
    int width;
  };

  ListView(Control& parent, std::string name, Rect bounds, Options options = kNoOptions)
      : Control(ControlKind::ListView, &parent.Owner(), &parent, std::move(name), bounds, "",
                options) {}

  void AddColumn(std::string caption, int width);
  const std::vector<Column>& Columns() const { return columns_; }

  int ItemCount() const { return static_cast<int>(items_.size()); }
  void ClearItems();
  void AddItem(std::string caption, bool checked);
  const std::string& ItemCaption(int index) const { return At(index).caption; }
  void SetItemCaption(int index, std::string caption);
  bool ItemChecked(int index) const { return At(index).checked; }
  void SetItemChecked(int index, bool checked);
  // The row whose check mark or caption changed last, for the peer.
  int ChangedItem() const { return changed_item_; }

  // The highlighted row, -1 for none.
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);

  PopupMenu* ContextMenu() const { return context_menu_; }
  void SetContextMenu(PopupMenu* menu) { context_menu_ = menu; }

  Event<> OnDblClick;

  // What the user did in the window: the mark or the selection has already
  // changed there, so the peer is not told.
  void CheckChangedByUser(int index, bool checked);
  void SelectedByUser(int index);

 private:
  struct Item {
    std::string caption;
    bool checked;
  };
  const Item& At(int index) const;

  std::vector<Column> columns_;
  std::vector<Item> items_;
  int item_index_ = -1;
  int changed_item_ = -1;
  PopupMenu* context_menu_ = nullptr;
};

}  // namespace ui
