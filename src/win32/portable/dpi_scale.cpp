#include "win32/portable/dpi_scale.h"

#include <cstdint>

namespace win32 {

namespace {

int Scaled(int value, int numerator, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>((product < 0 ? product - half : product + half) / denominator);
}

}  // namespace

int DpiScale::ToPixels(int units) const {
  return Scaled(units, dpi_, 96);
}

int DpiScale::ToUnits(int pixels) const {
  return Scaled(pixels, 96, dpi_);
}

PixelEdges DpiScale::ToPixels(const ui::Rect& r) const {
  return {ToPixels(r.left), ToPixels(r.top), ToPixels(r.right()), ToPixels(r.bottom())};
}

}  // namespace win32
