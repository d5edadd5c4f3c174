// The installation page's banner: a JPEG stored among the program's resources.
#pragma once

#include <memory>

#include "win32/win32_picture.h"

namespace win32 {

// Decodes the RCDATA resource of that name with the Windows Imaging
// Component; nothing when the resource is missing or cannot be decoded.
std::shared_ptr<const Win32Picture> DecodeJpegResource(const wchar_t* name);

}  // namespace win32
