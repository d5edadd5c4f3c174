// What an installation run does: the method, the chosen packages and four
// options. They live in the controls of the method and advanced pages, which
// hand them over when they are made; the engine, the pages and the main form
// ask here and never read those controls by name.
#pragma once

#include <vector>

#include "frame/continuation.h"

namespace release {
class PackageTable;
}
namespace ui {
class CheckBox;
class ListView;
class RadioButton;
}  // namespace ui

namespace frame {

class Choices {
 public:
  explicit Choices(const release::PackageTable& packages) : packages_(packages) {}

  // The method page's radio button of the user-defined installation.
  void HoldMethod(ui::RadioButton& user_defined);
  // The advanced page's package list (row k is package k + 1) and options.
  void HoldPackages(ui::ListView& rows, ui::CheckBox& auto_reboot, ui::CheckBox& minimize,
                    ui::CheckBox& delete_logs, ui::CheckBox& low_priority);

  // A user-defined installation installs only the checked packages; the
  // automatic one every package but those left out as installed.
  bool UserDefined() const;
  // Whether package `number` (1 to the package count) belongs to the run.
  bool Chosen(int number) const;
  // Checked rows among the rows of the release's packages.
  int ChosenCount() const;
  RunOptions Options() const;

  // Every package with automatic restart, the other options as they stand.
  void ChooseSilentRun();
  void ChooseUserDefined();
  // The options and rows of a continuation file: the rows it lists are
  // checked, every other row cleared.
  void Restore(const Continuation& file);
  // The rows of the packages from `number` on that belong to the run.
  std::vector<int> RowsFrom(int number) const;

  // Leaves out of the run the packages found installed (by number - 1) that
  // belong to it: their rows are cleared, and the automatic installation
  // passes over them. A row the user checks again afterwards runs.
  void LeaveOut(const std::vector<bool>& found_installed);
  // Package `number` was left out so and is still not chosen.
  bool LeftOut(int number) const;
  int LeftOutCount() const;

 private:
  const release::PackageTable& packages_;
  ui::RadioButton* user_defined_ = nullptr;
  ui::ListView* rows_ = nullptr;
  ui::CheckBox* auto_reboot_ = nullptr;
  ui::CheckBox* minimize_ = nullptr;
  ui::CheckBox* delete_logs_ = nullptr;
  ui::CheckBox* low_priority_ = nullptr;
  std::vector<bool> left_out_;  // by number - 1
};

}  // namespace frame
