// The size of a JPEG picture, read from its frame header without decoding
// it, so that a picture can take its place on a page before anyone draws it.
#pragma once

#include <optional>
#include <string_view>

namespace win32 {

struct JpegSize {
  int width = 0;
  int height = 0;
};

// The width and height of the first frame header (SOF0 to SOF15); nothing
// when the bytes are no JPEG, end before that header, or leave the height to
// a later marker.
std::optional<JpegSize> ReadJpegSize(std::string_view bytes);

}  // namespace win32
