// The size of a picture file as the installer would show it, read from the
// file's headers: Windows bitmaps (.bmp) and icons (.ico), the two kinds the
// installer loads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace check {

enum class PictureKind { Bitmap, Icon, Other };

// By the extension, in any letter case: ".bmp", ".ico", anything else.
PictureKind PictureKindOf(const std::string& path);

struct PictureSize {
  int width = 0;
  int height = 0;
};

// The size, or the reason why Windows would not load the file.
struct PictureRead {
  std::optional<PictureSize> size;
  std::string problem;
};

PictureRead ReadBitmap(std::string_view bytes);

// The image of an icon that Windows picks for an edge of `wanted` pixels: the
// nearest, the deeper one of two equally near (as src/win32/pictures/picture_files.cpp).
PictureRead ReadIcon(std::string_view bytes, int wanted);

}  // namespace check
