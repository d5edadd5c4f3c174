// A radio button; the radio buttons of one parent form one group.
#pragma once

#include "ui/control.h"

namespace ui {

class RadioButton : public Control {
 public:
  RadioButton(Control& parent, std::string name, Rect bounds, std::string caption,
              Options options = kNoOptions)
      : Control(ControlKind::RadioButton, &parent.Owner(), &parent, std::move(name), bounds,
                std::move(caption), options),
        checked_(options & kChecked) {}

  bool Checked() const { return checked_; }
  // Choosing a button clears the others of its group and raises OnClick.
  void SetChecked(bool checked);

  void Click() override { SetChecked(true); }

 private:
  bool checked_;
};

}  // namespace ui
