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

// Declared properties of a control, combined with |. Each kind of control
// accepts only those that mean something for it (see AllowedOptions).
using Options = std::uint32_t;
enum : Options {
  kNoOptions = 0,
  kDockTop = 1u << 0,
  kDockBottom = 1u << 1,
  kDockLeft = 1u << 2,
  kDockRight = 1u << 3,
  kDockClient = 1u << 4,
  // The edges of the parent a control keeps its distance to when the parent
  // changes size; without any of them, the left and the top. Anchored to both
  // edges of a direction it stretches, to the right or bottom one alone it
  // moves. Each direction needs at least one of its two edges.
  kAnchorLeft = 1u << 5,
  kAnchorTop = 1u << 6,
  kAnchorRight = 1u << 7,
  kAnchorBottom = 1u << 8,
  kBold = 1u << 9,
  kWordWrap = 1u << 10,
  kAutoSize = 1u << 11,  // sizes itself to its text or picture; a push button only grows
  kAlignRight = 1u << 12,
  kLowered = 1u << 13,  // panel with a lowered bevel: an etched line
  kWhiteBackground = 1u << 14,
  kHidden = 1u << 15,
  kDisabled = 1u << 16,
  kChecked = 1u << 17,
  kVerticalScroll = 1u << 18,
  kNoTabStop = 1u << 19,
  kDefaultItem = 1u << 20,  // menu item shown bold, run by a double click
  kSeparator = 1u << 21,
};
constexpr Options kDockMask = kDockTop | kDockBottom | kDockLeft | kDockRight | kDockClient;
constexpr Options kAnchorMask = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom;

}  // namespace ui
