#include "win32/portable/icon_choice.h"

namespace win32 {

namespace {

// Whether `a` serves `edge` better than `b`.
bool Better(const IconImageSize& a, const IconImageSize& b, int edge) {
  const bool a_covers = a.edge >= edge, b_covers = b.edge >= edge;
  if (a_covers != b_covers) return a_covers;
  if (a.edge != b.edge) return a_covers ? a.edge < b.edge : a.edge > b.edge;
  return a.bit_count > b.bit_count;
}

}  // namespace

std::size_t ChooseIconImage(const std::vector<IconImageSize>& images, int edge) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < images.size(); ++i) {
    if (Better(images[i], images[best], edge)) best = i;
  }
  return best;
}

}  // namespace win32
