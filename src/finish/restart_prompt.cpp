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

TForm1::TForm1(app::TFMain& main)
    : ui::Form(main.App(), "TForm1", {300, 300, 315, 154}, "Neu starten", PromptStyle()) {}

}  // namespace finish
