#include "release/os_identity.h"

#include <array>

namespace release {

namespace {

int IdentifyWin9x(int major, int minor, const std::string& service_pack) {
  if (major != 4) return -1;
  switch (minor) {
    case 0:
      return 0;
    // An empty service-pack text has no "A" in front: plain Windows 98.
    case 10:
      return !service_pack.empty() && service_pack[0] == 'A' ? 2 : 1;
    case 90:
      return 3;
    default:
      return -1;
  }
}

int IdentifyNt(int major, int minor) {
  if (major <= 4) return 4;
  if (major == 5 && minor <= 2) return 5 + minor;
  if (major == 6 && minor <= 1) return 8 + minor;
  return -1;
}

}  // namespace

int IdentifyOS(const platform::OsVersion& v) {
  switch (v.platform_id) {
    case 1:
      return IdentifyWin9x(v.major, v.minor, v.service_pack);
    case 2:
      return IdentifyNt(v.major, v.minor);
    default:
      return -1;
  }
}

std::string OsName(int index) {
  static const std::array<const char*, 10> names = {
      "Microsoft Windows 95", "Microsoft Windows 98",          "Microsoft Windows 98 SE",
      "Microsoft Windows ME", "Microsoft Windows NT 4.0",      "Microsoft Windows 2000",
      "Microsoft Windows XP", "Microsoft Windows Server 2003", "Microsoft Windows Vista",
      "Microsoft Windows 7"};
  return index >= 0 && index < static_cast<int>(names.size()) ? names[index] : "unbekannt";
}

}  // namespace release
