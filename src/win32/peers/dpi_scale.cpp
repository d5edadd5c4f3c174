#include "win32/peers/dpi_scale.h"

namespace win32 {

void DeclareDpiAware() {
  using SetAwareFn = BOOL(WINAPI*)();
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto set_aware = reinterpret_cast<SetAwareFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware")));
  if (set_aware) set_aware();
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

RECT DpiScale::ToPixels(const ui::Rect& r) const {
  return {ToPixels(r.left), ToPixels(r.top), ToPixels(r.right()), ToPixels(r.bottom())};
}

}  // namespace win32
