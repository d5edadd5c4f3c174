// The tip text the notification area shows over the icon.
#pragma once

#include <string>

namespace tray {

// The shell's tip holds 127 UTF-16 characters and a terminating zero.
constexpr int kMaxTipUnits = 127;

// `hint` cut to kMaxTipUnits UTF-16 characters, never inside a character;
// empty when the hint is not to be shown.
std::string TrayTip(const std::string& hint, bool show_hint);

}  // namespace tray
