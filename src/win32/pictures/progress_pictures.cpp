#include "win32/pictures/progress_pictures.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "win32/pictures/lazy_picture.h"
#include "win32/pictures/pictures.h"

namespace win32 {

namespace {

constexpr int kEdge = 16;
constexpr double kOuterRadius = 7.5;
constexpr double kInnerRadius = 4.0;
constexpr int kSubsamples = 4;  // per axis, for smooth edges
constexpr double kTwoPi = 6.283185307179586;

struct Rgb {
  double r, g, b;
};
constexpr Rgb kDone{0x2E, 0xA0, 0x43};  // green
constexpr Rgb kOpen{0xC8, 0xC8, 0xC8};  // light grey

// Premultiplied BGRA of one pixel: the share of its samples inside the ring,
// each coloured by whether its angle from twelve o'clock lies in the done part.
std::uint32_t PixelOf(int x, int y, double done_angle) {
  double r = 0, g = 0, b = 0, coverage = 0;
  for (int sy = 0; sy < kSubsamples; ++sy) {
    for (int sx = 0; sx < kSubsamples; ++sx) {
      const double dx = x + (sx + 0.5) / kSubsamples - kEdge / 2.0;
      const double dy = y + (sy + 0.5) / kSubsamples - kEdge / 2.0;
      const double radius = std::sqrt(dx * dx + dy * dy);
      if (radius < kInnerRadius || radius > kOuterRadius) continue;
      double angle = std::atan2(dx, -dy);  // clockwise from the top
      if (angle < 0) angle += kTwoPi;
      const Rgb& colour = angle < done_angle ? kDone : kOpen;
      r += colour.r;
      g += colour.g;
      b += colour.b;
      coverage += 1;
    }
  }
  const double samples = kSubsamples * kSubsamples;
  const auto channel = [&](double sum) { return static_cast<std::uint32_t>(sum / samples + 0.5); };
  return channel(coverage * 255) << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
}

HBITMAP CreateColourBitmap(int state) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kEdge;
  info.bmiHeader.biHeight = -kEdge;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  const double done_angle = kTwoPi * state / (kProgressStates - 1);
  for (int y = 0; y < kEdge; ++y) {
    for (int x = 0; x < kEdge; ++x) pixels[y * kEdge + x] = PixelOf(x, y, done_angle);
  }
  return bitmap;
}

std::shared_ptr<const Win32Picture> DrawPicture(int state) {
  HBITMAP colour = CreateColourBitmap(state);
  // An all-zero mask: the colour bitmap's alpha decides what shows through.
  const WORD clear_rows[kEdge] = {};  // one bit a pixel, rows of 16 bits
  HBITMAP mask = CreateBitmap(kEdge, kEdge, 1, 1, clear_rows);
  ICONINFO parts{TRUE, 0, 0, mask, colour};
  HICON icon = colour && mask ? CreateIconIndirect(&parts) : nullptr;
  if (colour) DeleteObject(colour);
  if (mask) DeleteObject(mask);
  if (!icon) return nullptr;
  return std::make_shared<IconPicture>(icon, kEdge, kEdge);
}

}  // namespace

// Drawn when first shown: start-up makes all of them, a run shows a few.
std::shared_ptr<const Win32Picture> ProgressPictureOf(int state) {
  static std::array<std::shared_ptr<const Win32Picture>, kProgressStates> made;
  state = std::clamp(state, 0, kProgressStates - 1);
  auto& picture = made[state];
  if (!picture)
    picture = std::make_shared<LazyPicture>(kEdge, kEdge, [state] { return DrawPicture(state); });
  return picture;
}

}  // namespace win32
