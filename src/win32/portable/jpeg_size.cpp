#include "win32/portable/jpeg_size.h"

namespace win32 {

namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kStartOfScan = 0xDA;

unsigned Byte(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

unsigned BigEndian16(std::string_view bytes, std::size_t at) {
  return Byte(bytes, at) << 8 | Byte(bytes, at + 1);
}

// C0 to CF are frame headers, except the Huffman tables (C4), the reserved
// JPG extension (C8) and the arithmetic coding conditions (CC).
bool IsFrameHeader(unsigned marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers without a length: the restart markers, TEM and a repeated SOI.
bool StandsAlone(unsigned marker) {
  return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01 || marker == kStartOfImage;
}

// The size in the frame header whose length field starts at `at`: length,
// precision, height, width.
std::optional<JpegSize> FrameSize(std::string_view bytes, std::size_t at) {
  if (at + 7 > bytes.size() || BigEndian16(bytes, at) < 7) return std::nullopt;
  const int height = static_cast<int>(BigEndian16(bytes, at + 3));
  const int width = static_cast<int>(BigEndian16(bytes, at + 5));
  if (height == 0 || width == 0) return std::nullopt;
  return JpegSize{width, height};
}

}  // namespace

std::optional<JpegSize> ReadJpegSize(std::string_view bytes) {
  if (bytes.size() < 2 || Byte(bytes, 0) != kMarker || Byte(bytes, 1) != kStartOfImage) {
    return std::nullopt;
  }
  std::size_t at = 2;
  while (at < bytes.size() && Byte(bytes, at) == kMarker) {
    while (at < bytes.size() && Byte(bytes, at) == kMarker) ++at;  // fill bytes
    if (at >= bytes.size()) break;
    const unsigned marker = Byte(bytes, at++);
    if (StandsAlone(marker)) continue;
    if (marker == kEndOfImage || marker == kStartOfScan || at + 2 > bytes.size()) break;
    if (IsFrameHeader(marker)) return FrameSize(bytes, at);
    const unsigned length = BigEndian16(bytes, at);
    if (length < 2) break;
    at += length;
  }
  return std::nullopt;
}

}  // namespace win32
