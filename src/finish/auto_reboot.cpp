#include "finish/auto_reboot.h"

namespace finish {

TFAutoReboot::TFAutoReboot(app::TFMain& main)
    : ui::Form(main.App(), "TFAutoReboot", {300, 300, 290, 124}, "Automatischer Neustart",
               ui::DialogStyle(true)) {}

}  // namespace finish
