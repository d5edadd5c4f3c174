#include "check/picture_size.h"

#include <cstdint>
#include <cstdlib>

#include "check/names.h"

namespace check {

namespace {

std::uint32_t U16(std::string_view b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

std::uint32_t U32(std::string_view b, std::size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

PictureRead Problem(std::string text) {
  return {std::nullopt, std::move(text)};
}

int EdgeOf(unsigned char stored) {
  return stored == 0 ? 256 : stored;
}

}  // namespace

PictureKind PictureKindOf(const std::string& path) {
  const std::size_t name_start = path.find_last_of("\\/:");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (name_start != std::string::npos && dot < name_start))
    return PictureKind::Other;
  const std::string extension = Fold(path.substr(dot + 1));
  if (extension == "bmp") return PictureKind::Bitmap;
  if (extension == "ico") return PictureKind::Icon;
  return PictureKind::Other;
}

PictureRead ReadBitmap(std::string_view b) {
  constexpr std::size_t kFileHeader = 14;
  if (b.size() < kFileHeader + 12 || b.substr(0, 2) != "BM") return Problem("not a Windows bitmap");
  const std::uint32_t header = U32(b, kFileHeader);
  long width, height;
  std::uint32_t planes, bits, compression = 0;
  if (header == 12) {
    width = static_cast<long>(U16(b, 18));
    height = static_cast<long>(U16(b, 20));
    planes = U16(b, 22);
    bits = U16(b, 24);
  } else if (header >= 40 && header <= 124 && b.size() >= kFileHeader + 40) {
    width = static_cast<std::int32_t>(U32(b, 18));
    height = static_cast<std::int32_t>(U32(b, 22));
    planes = U16(b, 26);
    bits = U16(b, 28);
    compression = U32(b, 30);
  } else {
    return Problem("a bitmap header of an unknown kind");
  }
  if (compression == 4 || compression == 5)
    return Problem(compression == 4 ? "a bitmap that holds a JPEG image"
                                    : "a bitmap that holds a PNG image");
  if (planes != 1 || width <= 0 || height == 0 || compression > 3 ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
    return Problem("a damaged bitmap header");
  }
  const unsigned long rows = static_cast<unsigned long>(std::labs(height));
  if (compression == 0 || compression == 3) {
    const unsigned long long stride = (static_cast<unsigned long long>(width) * bits + 31) / 32 * 4;
    if (U32(b, 10) + stride * rows > b.size()) return Problem("a bitmap whose pixels are cut off");
  }
  return {PictureSize{static_cast<int>(width), static_cast<int>(rows)}, {}};
}

PictureRead ReadIcon(std::string_view b, int wanted) {
  constexpr std::size_t kDirectory = 6, kEntry = 16;
  if (b.size() < kDirectory || U16(b, 0) != 0 || U16(b, 2) != 1 || U16(b, 4) == 0)
    return Problem("not an icon");
  const std::size_t count = U16(b, 4);
  if (b.size() < kDirectory + count * kEntry) return Problem("an icon whose directory is cut off");
  std::size_t best = kDirectory;
  for (std::size_t i = 1; i < count; ++i) {
    const std::size_t at = kDirectory + i * kEntry;
    const int distance = std::abs(EdgeOf(b[at]) - wanted);
    const int best_distance = std::abs(EdgeOf(b[best]) - wanted);
    if (distance < best_distance ||
        (distance == best_distance && U16(b, at + 6) > U16(b, best + 6)))
      best = at;
  }
  const std::uint32_t length = U32(b, best + 8), offset = U32(b, best + 12);
  if (offset > b.size() || length > b.size() - offset || length < 8)
    return Problem("an icon whose image is cut off");
  const std::string_view image = b.substr(offset, length);
  if (U32(image, 0) != 40 && image.substr(0, 4) != "\x89PNG")
    return Problem("an icon whose image is damaged");
  return {PictureSize{EdgeOf(b[best]), EdgeOf(b[best + 1])}, {}};
}

}  // namespace check
