// A static text; with a colour and the hand cursor it serves as a link.
#pragma once

#include "ui/control.h"

namespace ui {

class Label : public Control {
 public:
  Label(Control& parent, std::string name, Rect bounds, std::string caption,
        Options options = kNoOptions)
      : Control(ControlKind::Label, &parent.Owner(), &parent, std::move(name), bounds,
                std::move(caption), options) {}
};

}  // namespace ui
