// The tray's progress pictures: a 16 x 16 ring that fills clockwise.
#pragma once

#include <memory>

#include "win32/pictures/win32_picture.h"

namespace win32 {

constexpr int kProgressStates = 17;  // 0 (nothing done) to 16 (all done)

// The picture of one state, as an icon, drawn when it is first drawn or its
// icon is first asked for, and kept; a state outside 0..16 is clamped.
std::shared_ptr<const Win32Picture> ProgressPictureOf(int state);

}  // namespace win32
