#include "tray/tray_tip.h"

namespace tray {

namespace {

bool IsContinuationByte(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// A four-byte UTF-8 sequence lies outside the basic plane: a surrogate pair.
int Utf16Units(unsigned char lead_byte) {
  return lead_byte >= 0xF0 ? 2 : 1;
}

}  // namespace

std::string TrayTip(const std::string& hint, bool show_hint) {
  if (!show_hint) return {};
  int units = 0;
  for (std::size_t i = 0; i < hint.size(); ++i) {
    const auto byte = static_cast<unsigned char>(hint[i]);
    if (IsContinuationByte(byte)) continue;
    units += Utf16Units(byte);
    if (units > kMaxTipUnits) return hint.substr(0, i);
  }
  return hint;
}

}  // namespace tray
