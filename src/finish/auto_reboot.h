// The ten-second countdown before an automatic restart.
#pragma once

#include "frame/context.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/timer.h"

namespace finish {

class TFAutoReboot : public ui::Form {
 public:
  explicit TFAutoReboot(frame::Context& context);

  // clang-format off
  ui::Label LStatus{*this, "LStatus", {12, 12, 265, 61}, "", ui::kWordWrap};
  ui::Button Button1{*this, "Button1", {104, 88, 75, 25}, "Abbrechen"};
  ui::Timer Timer{*this, "Timer", 1000};
  // clang-format on

  int SecondsLeft = 10;

  // Word 90 with the seconds in place of "%d".
  std::string CountdownText(int seconds) const;

 private:
  void FormCreate();
  void FormShow();
  void FormClose(ui::CloseAction& action);
  void Button1Click();
  void TimerTimer();

  frame::Context& context_;
};

}  // namespace finish
