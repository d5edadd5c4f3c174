// A check box. Changing its mark, by the user or by code, raises OnClick.
#pragma once

#include "ui/control.h"

namespace ui {

class CheckBox : public Control {
 public:
  CheckBox(Control& parent, std::string name, Rect bounds, std::string caption,
           Options options = kNoOptions)
      : Control(ControlKind::CheckBox, &parent.Owner(), &parent, std::move(name), bounds,
                std::move(caption), options),
        checked_(options & kChecked) {}

  bool Checked() const { return checked_; }
  void SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed(Change::Checked);
    OnClick.Raise();
  }

  void Click() override { SetChecked(!checked_); }

 private:
  bool checked_;
};

}  // namespace ui
