// The link between a control object and its real window. A backend attaches
// one peer to each object; the object tells its peer what changed, the peer
// reads the new state from the object.
#pragma once

namespace ui {

enum class Change {
  Caption,
  Enabled,
  Visible,
  Bounds,
  Font,
  Cursor,
  Checked,
  Items,
  ItemChecked,
  ItemCaption,
  Selection,
  Position,
  Picture,
  ActiveTab,
  Style,
  Interval,
  Front,  // a form comes to the front
  TaskbarProgress,
};

class Peer {
 public:
  virtual ~Peer() = default;
  virtual void Update(Change what) = 0;
};

}  // namespace ui
