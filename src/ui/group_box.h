// A framed group of controls with a caption in its frame.
#pragma once

#include "ui/control.h"

namespace ui {

class GroupBox : public Control {
 public:
  GroupBox(Control& parent, std::string name, Rect bounds, std::string caption,
           Options options = kNoOptions)
      : Control(&parent.Owner(), &parent, std::move(name), bounds, std::move(caption), options) {}
  ControlKind Kind() const override { return ControlKind::GroupBox; }
};

}  // namespace ui
