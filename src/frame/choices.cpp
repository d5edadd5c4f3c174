#include "frame/choices.h"

#include "release/settings.h"
#include "ui/check_box.h"
#include "ui/list_view.h"
#include "ui/radio_button.h"

namespace frame {

void Choices::HoldMethod(ui::RadioButton& user_defined) {
  user_defined_ = &user_defined;
}

void Choices::HoldPackages(ui::ListView& rows, ui::CheckBox& auto_reboot, ui::CheckBox& minimize,
                           ui::CheckBox& delete_logs, ui::CheckBox& low_priority) {
  rows_ = &rows;
  auto_reboot_ = &auto_reboot;
  minimize_ = &minimize;
  delete_logs_ = &delete_logs;
  low_priority_ = &low_priority;
}

bool Choices::UserDefined() const {
  return user_defined_->Checked();
}

bool Choices::Chosen(int number) const {
  return !UserDefined() || rows_->ItemChecked(number - 1);
}

int Choices::ChosenCount() const {
  int chosen = 0;
  for (int k = 0; k < packages_.Count(); ++k) chosen += rows_->ItemChecked(k) ? 1 : 0;
  return chosen;
}

RunOptions Choices::Options() const {
  return {auto_reboot_->Checked(), minimize_->Checked(), delete_logs_->Checked(),
          low_priority_->Checked()};
}

void Choices::ChooseSilentRun() {
  auto_reboot_->SetChecked(true);
  user_defined_->SetChecked(true);
}

void Choices::ChooseUserDefined() {
  user_defined_->SetChecked(true);
}

void Choices::Restore(const Continuation& file) {
  auto_reboot_->SetChecked(file.Options.AutoReboot);
  minimize_->SetChecked(file.Options.Minimize);
  delete_logs_->SetChecked(file.Options.DeleteLogs);
  low_priority_->SetChecked(file.Options.LowPriority);
  for (int k = 0; k < packages_.Count(); ++k) rows_->SetItemChecked(k, false);
  for (const int row : file.Rows) rows_->SetItemChecked(row, true);
}

std::vector<int> Choices::RowsFrom(int number) const {
  std::vector<int> rows;
  for (int i = number; i <= packages_.Count(); ++i) {
    if (Chosen(i)) rows.push_back(i - 1);
  }
  return rows;
}

}  // namespace frame
