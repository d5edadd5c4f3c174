// The driver command about what the eye finds wrong in a form's layout.
#pragma once

#include "driver_system.h"

namespace driver {

// layout <form>: what the layout gets wrong, one line each, empty when nothing: visible named
// controls of one parent that overlap ("A overlaps B"; a group box or tab control and what lies
// within it are meant to). Whether a label's text fits is not measured here: the font that
// WM_GETFONT names belongs to the program's process, and another process can't use it (under
// Wine GetObjectW fails on it).
std::wstring Layout(const Args& args);

}  // namespace driver
