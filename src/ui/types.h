// Plain values shared by the control objects and their backends.
#pragma once

#include <cstdint>

namespace ui {

// Positions and sizes in pixels at 96 dpi, relative to the parent's client area.
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

struct Point {
  int x = 0, y = 0;
};

// 0x00BBGGRR as Windows stores a colour; kSystem marks an index into the
// system's own colours.
using Color = std::uint32_t;
constexpr Color kSystem = 0x80000000u;
constexpr Color kButtonFace = kSystem | 15;
constexpr Color kWindowText = kSystem | 8;
constexpr Color kWhite = 0x00FFFFFFu;
constexpr Color kBlue = 0x00FF0000u;
constexpr Color kRed = 0x000000FFu;

enum class Cursor { Default, Hand };

// Declared properties of a control, combined with |.
using Options = std::uint32_t;
enum : Options {
  kNoOptions = 0,
  kDockTop = 1u << 0,
  kDockBottom = 1u << 1,
  kDockLeft = 1u << 2,
  kDockRight = 1u << 3,
  kDockClient = 1u << 4,
  kAnchorRight = 1u << 5,   // keeps its distance to the parent's right edge
  kAnchorBottom = 1u << 6,  // keeps its distance to the parent's bottom edge
  kAnchorNoLeft = 1u << 7,  // with kAnchorRight: moves instead of stretching
  kAnchorNoTop = 1u << 8,   // with kAnchorBottom: moves instead of stretching
  kBold = 1u << 9,
  kWordWrap = 1u << 10,
  kAutoSize = 1u << 11,     // sizes itself to its text or picture
  kAlignRight = 1u << 12,
  kTransparent = 1u << 13,
  kLowered = 1u << 14,      // panel with a lowered bevel: an etched line
  kWhiteBackground = 1u << 15,
  kHidden = 1u << 16,
  kDisabled = 1u << 17,
  kChecked = 1u << 18,
  kVerticalScroll = 1u << 19,
  kNoTabStop = 1u << 20,
  kDefaultItem = 1u << 21,  // menu item shown bold, run by a double click
  kSeparator = 1u << 22,
};
constexpr Options kDockMask = kDockTop | kDockBottom | kDockLeft | kDockRight | kDockClient;

}  // namespace ui
