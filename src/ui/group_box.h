// A framed group of controls with a caption in its frame.
#pragma once

#include "ui/control.h"

namespace ui {

class GroupBox : public Control {
 public:
  GroupBox(Control& parent, std::string name, Rect bounds, std::string caption,
           Options options = kNoOptions)
      : Control(ControlKind::GroupBox, &parent.Owner(), &parent, std::move(name), bounds,
                std::move(caption), options) {}
};

}  // namespace ui
