// The last page: the outcome of the run, and on closing the end of the
// program or a restart of the computer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "frame/page_frame.h"
#include "ui/check_box.h"

namespace finish {

class TFEnde : public frame::PageFrame {
 public:
  explicit TFEnde(frame::Context& context);

  // clang-format off
  ui::Image ILinks{*this, "ILinks", {0, 63, 164, 313}, ui::kDockLeft | ui::kAutoSize};
  ui::Label LText{*this, "LText", {180, 76, 277, 253}, "LText", ui::kWordWrap};
  ui::CheckBox CBNichtNeustarten{*this, "CBNichtNeustarten", {180, 344, 277, 17},
                                 "Jetzt nicht neu starten"};
  // clang-format on

  void SessionEndCancelled();

 private:
  void FormCreate();
  void FormShow();
  bool ShowOutcome();
  void FormClose(ui::CloseAction& action);
  void BAbbrechenClick();

  static constexpr std::size_t kMaxListLines = 5;
  static std::string PackageList(const std::vector<std::string>& names,
                                 const std::function<std::string(std::size_t)>& outcome);
  std::string FailureText() const;
  std::string NotApplicableText() const;
  std::string FailureReason(const frame::PackageFailure& failure) const;
  std::string FoundInstalledText() const;

  // The page closed and the restart it asked for was accepted.
  bool closed_for_restart_ = false;
};

}  // namespace finish
