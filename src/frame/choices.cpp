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
  if (UserDefined()) return rows_->ItemChecked(number - 1);
  return static_cast<std::size_t>(number) > left_out_.size() || !left_out_[number - 1];
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

void Choices::LeaveOut(const std::vector<bool>& found_installed) {
  left_out_.assign(found_installed.size(), false);
  for (std::size_t k = 0; k < found_installed.size(); ++k) {
    const int number = static_cast<int>(k) + 1;
    left_out_[k] = found_installed[k] && Chosen(number);
    if (left_out_[k]) rows_->SetItemChecked(static_cast<int>(k), false);
  }
}

bool Choices::LeftOut(int number) const {
  return static_cast<std::size_t>(number) <= left_out_.size() && left_out_[number - 1] &&
         !Chosen(number);
}

int Choices::LeftOutCount() const {
  int left_out = 0;
  for (int number = 1; number <= packages_.Count(); ++number) left_out += LeftOut(number) ? 1 : 0;
  return left_out;
}

}  // namespace frame
