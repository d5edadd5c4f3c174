#include "finish/auto_reboot.h"

#include "finish/finish_page.h"
#include "finish/restart.h"

namespace finish {

TFAutoReboot::TFAutoReboot(frame::Context& context)
    : ui::Form(context.App(), "TFAutoReboot", {300, 300, 290, 124}, "Automatischer Neustart",
               ui::DialogStyle(true)),
      context_(context) {
  OnCreate.Bind(this, &TFAutoReboot::FormCreate);
  OnShow.Bind(this, &TFAutoReboot::FormShow);
  OnClose.Bind(this, &TFAutoReboot::FormClose);
  Button1.OnClick.Bind(this, &TFAutoReboot::Button1Click);
  Timer.OnTimer.Bind(this, &TFAutoReboot::TimerTimer);
}

std::string TFAutoReboot::CountdownText(int seconds) const {
  std::string text = context_.Words[release::kWordAutoRestartCountdown];
  const std::size_t at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(seconds));
  return text;
}

void TFAutoReboot::FormCreate() {
  SetCaption(context_.Words[release::kWordAutoRestartCaption]);
  Button1.SetCaption(context_.Words[release::kWordCancel]);
}

void TFAutoReboot::FormShow() {
  context_.forms.FEnde->SetEnabled(false);
  SecondsLeft = 10;
  LStatus.SetCaption(CountdownText(SecondsLeft));
  Timer.SetEnabled(true);
}

// The restart is requested at the eleventh tick: the label shows 0 for a second first.
void TFAutoReboot::TimerTimer() {
  if (SecondsLeft != 0) {
    --SecondsLeft;
    LStatus.SetCaption(CountdownText(SecondsLeft));
    return;
  }
  Timer.SetEnabled(false);
  RestartSystem(context_);
}

void TFAutoReboot::Button1Click() {
  Timer.SetEnabled(false);
  Close();
}

// Closing by the close box stops the countdown as the button does.
void TFAutoReboot::FormClose(ui::CloseAction&) {
  Timer.SetEnabled(false);
  context_.forms.FEnde->SetEnabled(true);
}

}  // namespace finish
