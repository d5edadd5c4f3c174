// Where the children of a control stand: docked children take the edges of
// the parent's client area in turn, the others keep their place and keep
// their distance to the edges they are anchored to. All in 96-dpi units.
#pragma once

#include <vector>

#include "ui/control.h"

namespace ui {

// The client size a control offers its children as designed.
Point DesignClientSize(const Control& parent);

// The bounds of each child of `parent`, in the order of Children(), when the
// parent's client area measures `client`.
std::vector<Rect> LayoutChildren(const Control& parent, Point client);

}  // namespace ui
