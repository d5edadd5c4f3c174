// Which image of an icon file to draw at a size: the images of one icon come in several sizes
// and colour depths, and a form draws it larger on a monitor of a higher resolution.
#pragma once

#include <cstddef>
#include <vector>

namespace win32 {

struct IconImageSize {
  int edge;       // pixels; an icon file writes 256 as 0
  int bit_count;  // bits per pixel
};

// The index of the image to scale to `edge` pixels: the smallest one at least that large, as
// scaling down keeps a picture sharp, else the largest; of equal size the one with the most
// colours. `images` is not empty.
std::size_t ChooseIconImage(const std::vector<IconImageSize>& images, int edge);

}  // namespace win32
