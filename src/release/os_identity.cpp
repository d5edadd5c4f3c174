#include "release/os_identity.h"

#include <array>

namespace release {

namespace {

OsIndex IdentifyWin9x(int major, int minor, const std::string& service_pack) {
  if (major != 4) return OsIndex::Unknown;
  switch (minor) {
    case 0:
      return OsIndex::Windows95;
    // An empty service-pack text has no "A" in front: plain Windows 98.
    case 10:
      return !service_pack.empty() && service_pack[0] == 'A' ? OsIndex::Windows98SE
                                                             : OsIndex::Windows98;
    case 90:
      return OsIndex::WindowsME;
    default:
      return OsIndex::Unknown;
  }
}

OsIndex IdentifyNt(int major, int minor) {
  if (major <= 4) return OsIndex::WindowsNT4;
  if (major == 5 && minor <= 2) return static_cast<OsIndex>(5 + minor);
  if (major == 6 && minor <= 3) return static_cast<OsIndex>(8 + minor);
  // A system after Windows 10 keeps its rules rather than falling back to
  // those of systems without user account control.
  if (major >= 10) return OsIndex::Windows10;
  return OsIndex::Unknown;
}

}  // namespace

OsIndex IdentifyOS(const platform::OsVersion& v) {
  switch (v.platform_id) {
    case 1:
      return IdentifyWin9x(v.major, v.minor, v.service_pack);
    case 2:
      return IdentifyNt(v.major, v.minor);
    default:
      return OsIndex::Unknown;
  }
}

std::string OsName(OsIndex index) {
  static const std::array<const char*, 13> names = {
      "Microsoft Windows 95", "Microsoft Windows 98",          "Microsoft Windows 98 SE",
      "Microsoft Windows ME", "Microsoft Windows NT 4.0",      "Microsoft Windows 2000",
      "Microsoft Windows XP", "Microsoft Windows Server 2003", "Microsoft Windows Vista",
      "Microsoft Windows 7",  "Microsoft Windows 8",           "Microsoft Windows 8.1",
      "Microsoft Windows 10"};
  const int i = static_cast<int>(index);
  return i >= 0 && i < static_cast<int>(names.size()) ? names[i] : "unbekannt";
}

std::string SystemName(const platform::OsVersion& v) {
  const OsIndex index = IdentifyOS(v);
  const bool after_windows_10 = index == OsIndex::Windows10 && (v.major > 10 || v.minor > 0);
  if (!after_windows_10) return OsName(index);
  return "Microsoft Windows " + std::to_string(v.major) + "." + std::to_string(v.minor);
}

bool IsXpOrLater(OsIndex index) {
  return index >= OsIndex::WindowsXP;
}

bool IsVistaOrLater(OsIndex index) {
  return index >= OsIndex::WindowsVista;
}

}  // namespace release
