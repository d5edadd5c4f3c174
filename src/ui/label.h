// A static text; with a colour and the hand cursor it serves as a link. It shows its text as
// written, without access keys: labels carry release data (names, addresses, the welcome text)
// and sentences, where an '&' is a character, and none of them leads to a control.
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
