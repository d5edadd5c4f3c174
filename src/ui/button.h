// A push button.
#pragma once

#include "ui/control.h"

namespace ui {

class Button : public Control {
 public:
  Button(Control& parent, std::string name, Rect bounds, std::string caption,
         Options options = kNoOptions)
      : Control(ControlKind::Button, &parent.Owner(), &parent, std::move(name), bounds,
                std::move(caption), options) {}
};

}  // namespace ui
