#include "finish/auto_reboot.h"

namespace finish {

namespace {

ui::FormStyle CountdownStyle() {
  ui::FormStyle style;
  style.border = ui::BorderStyle::Dialog;
  style.minimize_box = false;
  style.centered = true;
  style.stay_on_top = true;
  return style;
}

}  // namespace

TFAutoReboot::TFAutoReboot(app::TFMain& main)
    : ui::Form(main.App(), "TFAutoReboot", {300, 300, 290, 124}, "Automatischer Neustart",
               CountdownStyle()) {}

}  // namespace finish
