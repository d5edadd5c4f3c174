// The control objects measure in 96-dpi units; windows measure in pixels at the resolution of
// the monitor they stand on, which changes when a window is moved to another monitor.
#pragma once

#include "ui/types.h"

namespace win32 {

// A rectangle by its edges, in pixels.
struct PixelEdges {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PixelEdges& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

class DpiScale {
 public:
  explicit DpiScale(int dpi = 96) : dpi_(dpi) {}

  int Dpi() const { return dpi_; }
  // Rounded to the nearest pixel or unit, halves away from zero (as MulDiv).
  int ToPixels(int units) const;
  int ToUnits(int pixels) const;
  // Rounded up, for a size that must hold what was measured in pixels.
  int ToUnitsCovering(int pixels) const { return (pixels * 96 + dpi_ - 1) / dpi_; }

  // Edges scale one by one, so that neighbouring controls stay flush.
  PixelEdges ToPixels(const ui::Rect& r) const;
  ui::Point ToUnits(int width, int height) const { return {ToUnits(width), ToUnits(height)}; }

 private:
  int dpi_;
};

}  // namespace win32
