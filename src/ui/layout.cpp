#include "ui/layout.h"

#include <algorithm>
#include <numeric>

namespace ui {

namespace {

// Docked children in the order they take their edge: tops from the top
// down, bottoms from the bottom up, lefts from the left, rights from the
// right, then what fills the rest.
int DockRank(const Control& c) {
  const Options dock = c.GetOptions() & kDockMask;
  if (dock == kDockTop) return 0;
  if (dock == kDockBottom) return 1;
  if (dock == kDockLeft) return 2;
  if (dock == kDockRight) return 3;
  return 4;
}

int DockOrderKey(const Control& c) {
  const Rect& b = c.Bounds();
  switch (DockRank(c)) {
    case 0:
      return b.top;
    case 1:
      return -b.bottom();
    case 2:
      return b.left;
    case 3:
      return -b.right();
    default:
      return 0;
  }
}

Rect Dock(const Control& c, Rect& free) {
  const Rect& b = c.Bounds();
  Rect r = free;
  switch (DockRank(c)) {
    case 0:
      r.height = b.height;
      free.top += b.height;
      free.height -= b.height;
      break;
    case 1:
      r.height = b.height;
      r.top = free.bottom() - b.height;
      free.height -= b.height;
      break;
    case 2:
      r.width = b.width;
      free.left += b.width;
      free.width -= b.width;
      break;
    case 3:
      r.width = b.width;
      r.left = free.right() - b.width;
      free.width -= b.width;
      break;
    default:
      break;
  }
  return r;
}

// Anchored to both edges of a direction a control stretches with its
// parent, to the right or bottom edge alone it moves; without anchors it
// stays where it is, as anchored to the left and the top. Construction has
// made sure that anchors name an edge in each direction.
Rect Anchor(const Control& c, Point design, Point client) {
  Rect r = c.Bounds();
  const int dx = client.x - design.x, dy = client.y - design.y;
  if (c.Has(kAnchorRight)) {
    if (c.Has(kAnchorLeft)) r.width += dx;
    else r.left += dx;
  }
  if (c.Has(kAnchorBottom)) {
    if (c.Has(kAnchorTop)) r.height += dy;
    else r.top += dy;
  }
  return r;
}

}  // namespace

Point DesignClientSize(const Control& parent) {
  return {parent.Bounds().width, parent.Bounds().height};
}

std::vector<Rect> LayoutChildren(const Control& parent, Point client) {
  const auto& children = parent.Children();
  std::vector<Rect> result(children.size());
  std::vector<std::size_t> docked;
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (children[i]->Has(kDockMask)) {
      docked.push_back(i);
    } else {
      result[i] = Anchor(*children[i], DesignClientSize(parent), client);
    }
  }
  std::stable_sort(docked.begin(), docked.end(), [&](std::size_t a, std::size_t b) {
    const Control &ca = *children[a], &cb = *children[b];
    if (DockRank(ca) != DockRank(cb)) return DockRank(ca) < DockRank(cb);
    return DockOrderKey(ca) < DockOrderKey(cb);
  });
  Rect free{0, 0, client.x, client.y};
  for (std::size_t i : docked) result[i] = Dock(*children[i], free);
  return result;
}

}  // namespace ui
