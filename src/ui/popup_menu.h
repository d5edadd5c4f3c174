// A context menu and its items.
#pragma once

#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/event.h"
#include "ui/form.h"

namespace ui {

class PopupMenu;

class MenuItem {
 public:
  // kDefaultItem: shown bold and run by a double click where the menu serves
  // one; kSeparator: a line. Any other option throws std::logic_error.
  MenuItem(PopupMenu& menu, std::string name, std::string caption, Options options = kNoOptions);
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool IsDefault() const { return options_ & kDefaultItem; }
  bool IsSeparator() const { return options_ & kSeparator; }

  Event<> OnClick;
  void Click() { OnClick.Raise(); }

 private:
  PopupMenu& menu_;
  std::string name_;
  std::string caption_;
  Options options_;
};

// What a backend does for a menu beyond mirroring it.
class MenuPeer : public Peer {
 public:
  // Shows the menu at a screen point; the chosen item's Click runs afterwards.
  virtual void Popup(Point at) = 0;
};

class PopupMenu : public Component {
 public:
  PopupMenu(Form& owner, std::string name) : Component(&owner, std::move(name)) {
    owner.AddComponent(this);
  }

  const std::vector<MenuItem*>& Items() const { return items_; }
  // The default item, or null.
  MenuItem* DefaultItem() const;

  void Popup(Point at);

 private:
  friend class MenuItem;
  void ItemChanged() { Changed(Change::Items); }

  std::vector<MenuItem*> items_;
};

}  // namespace ui
