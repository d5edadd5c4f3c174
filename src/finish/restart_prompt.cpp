#include "finish/restart_prompt.h"

namespace finish {

namespace {

// No title-bar buttons at all: the one way out is the button.
ui::FormStyle PromptStyle() {
  ui::FormStyle style;
  style.system_menu = false;
  style.minimize_box = false;
  style.centered = true;
  return style;
}

}  // namespace

TForm1::TForm1(frame::Context& context)
    : ui::Form(context.App(), "TForm1", {300, 300, 315, 166}, "Neu starten", PromptStyle()),
      context_(context) {
  OnShow.Bind(this, &TForm1::FormShow);
  Button1.OnClick.Bind(this, &TForm1::Button1Click);
}

void TForm1::FormShow() {
  const release::WordTable& words = context_.Words;
  Label1.SetCaption(words[release::kWordRestartNeeded]);
  Label2.SetCaption(words[release::kWordRestartContinues]);
  Label3.SetCaption(words[release::kWordClosePrograms]);
  SetCaption(words[release::kWordRestartCaption]);
  Button1.SetCaption(words[release::kWordRestartNow]);
}

void TForm1::Button1Click() {
  Close();
}

}  // namespace finish
