// A read-only multi-line text box with a vertical scroll bar; its caption is
// the text, lines separated by carriage returns.
#pragma once

#include "ui/control.h"

namespace ui {

class RichText : public Control {
 public:
  RichText(Control& parent, std::string name, Rect bounds, Options options = kVerticalScroll)
      : Control(ControlKind::RichText, &parent.Owner(), &parent, std::move(name), bounds, "",
                options) {}
};

}  // namespace ui
