// A plain container: a header, an etched line or a button row.
#pragma once

#include "ui/control.h"

namespace ui {

class Panel : public Control {
 public:
  Panel(Control& parent, std::string name, Rect bounds, Options options = kNoOptions)
      : Control(ControlKind::Panel, &parent.Owner(), &parent, std::move(name), bounds, "",
                options) {}
};

}  // namespace ui
