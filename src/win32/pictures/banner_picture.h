// The installation page's banner: a JPEG stored among the program's resources.
#pragma once

#include <memory>

#include "win32/pictures/win32_picture.h"

namespace win32 {

// The RCDATA resource of that name, sized from its JPEG header and decoded
// with the Windows Imaging Component when it is first drawn; nothing when the
// resource is missing or has no JPEG header. A picture that then cannot be
// decoded draws nothing.
std::shared_ptr<const Win32Picture> JpegResourcePicture(const wchar_t* name);

}  // namespace win32
