#include "ui/radio_button.h"

namespace ui {

void RadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Change::Checked);
  if (!checked) return;
  for (Control* sibling : Parent()->Children()) {
    if (sibling != this && sibling->Kind() == ControlKind::RadioButton) {
      static_cast<RadioButton*>(sibling)->SetChecked(false);
    }
  }
  OnClick.Raise();
}

}  // namespace ui
