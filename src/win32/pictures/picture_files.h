// Reading the picture files a release names: Windows bitmaps and icons.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "win32/pictures/win32_picture.h"

namespace win32 {

enum class PictureFileKind { kBitmap, kIcon };

// The kind of picture by the file's extension, without regard to case.
// Throws std::runtime_error for any other extension, an empty one included.
PictureFileKind PictureFileKindOf(const std::string& path);

// Each throws std::runtime_error with the runtime's German message when the
// content is not a picture of that kind.
std::shared_ptr<const Win32Picture> BitmapFromFile(const std::string& path, std::string_view bytes);
std::shared_ptr<const Win32Picture> IconFromFileBytes(std::string_view bytes);

}  // namespace win32
