// The control objects measure in 96-dpi units; windows measure in pixels.
#pragma once

#include <windows.h>

#include "ui/types.h"

namespace win32 {

// Asks for real pixels instead of the system's bitmap scaling (Windows Vista
// and later; the manifest says the same to newer systems).
void DeclareDpiAware();

// Pixels per logical inch of the screen.
int ScreenDpi();

class DpiScale {
 public:
  explicit DpiScale(int dpi = 96) : dpi_(dpi) {}

  int Dpi() const { return dpi_; }
  int ToPixels(int units) const { return MulDiv(units, dpi_, 96); }
  int ToUnits(int pixels) const { return MulDiv(pixels, 96, dpi_); }
  // Rounded up, for a size that must hold what was measured in pixels.
  int ToUnitsCovering(int pixels) const { return (pixels * 96 + dpi_ - 1) / dpi_; }

  // Edges scale one by one, so that neighbouring controls stay flush.
  RECT ToPixels(const ui::Rect& r) const;
  ui::Point ToUnits(int width, int height) const { return {ToUnits(width), ToUnits(height)}; }

 private:
  int dpi_;
};

}  // namespace win32
