// The driver command about what the eye finds wrong in a form's layout.
#pragma once

#include "driver_system.h"

namespace driver {

// layout <form> <dpi>: what the layout of a form drawn at <dpi> gets wrong, one line each, empty
// when nothing: visible named controls of one parent that overlap ("A overlaps B"; a group box or
// tab control and what lies within it are meant to), labels whose text needs more room than
// they have ("L: text <w>x<h> in <w>x<h>"), and push buttons whose caption does not fit between
// their ends ("B: caption <w>x<h> in <w>x<h>"). The font that WM_GETFONT names belongs to the
// program's process, which another process can't use under Wine: the text is measured with the
// installer's font made again here, bold where the label's pixels look bold. The form must have
// painted.
std::wstring Layout(const Args& args);

}  // namespace driver
