#include "win32/picture_files.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "win32/pictures.h"
#include "win32/wide_text.h"

namespace win32 {

namespace {

// The layout of an .ico file: a directory, then the images it points to.
#pragma pack(push, 1)
struct IconDirectory {
  WORD reserved;
  WORD type;  // 1 for icons, 2 for cursors
  WORD count;
};
struct IconDirectoryEntry {
  BYTE width;  // 0 stands for 256
  BYTE height;
  BYTE color_count;
  BYTE reserved;
  WORD planes;
  WORD bit_count;
  DWORD bytes_in_image;
  DWORD image_offset;
};
#pragma pack(pop)

// The version CreateIconFromResourceEx expects for icon images.
constexpr DWORD kIconFormatVersion = 0x00030000;

std::string ExtensionOf(const std::string& path) {
  const std::size_t name_start = path.find_last_of("\\/:");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (name_start != std::string::npos && dot < name_start)) return {};
  return path.substr(dot + 1);
}

bool SameAscii(const std::string& text, const char* lower) {
  if (text.size() != std::strlen(lower)) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lower[i]) return false;
  }
  return true;
}

int EdgeOf(BYTE stored) {
  return stored == 0 ? 256 : stored;
}

[[noreturn]] void ThrowInvalidIcon() {
  throw std::runtime_error("Symbol ist ungültig");
}

// The image nearest to the system's icon size, the deeper one of equals, as
// Windows itself picks from an icon resource.
const IconDirectoryEntry& BestEntry(const IconDirectoryEntry* entries, int count) {
  const int wanted = GetSystemMetrics(SM_CXICON);
  const IconDirectoryEntry* best = &entries[0];
  for (int i = 1; i < count; ++i) {
    const int distance = std::abs(EdgeOf(entries[i].width) - wanted);
    const int best_distance = std::abs(EdgeOf(best->width) - wanted);
    if (distance < best_distance ||
        (distance == best_distance && entries[i].bit_count > best->bit_count)) {
      best = &entries[i];
    }
  }
  return *best;
}

}  // namespace

PictureFileKind PictureFileKindOf(const std::string& path) {
  const std::string extension = ExtensionOf(path);
  if (SameAscii(extension, "bmp")) return PictureFileKind::kBitmap;
  if (SameAscii(extension, "ico")) return PictureFileKind::kIcon;
  throw std::runtime_error("Unbekannte Bilddateierweiterung (." + extension + ")");
}

std::shared_ptr<const Win32Picture> BitmapFromFile(const std::string& path) {
  // A DIB section keeps the file's colours whatever the screen's depth.
  auto bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, Widen(path).c_str(), IMAGE_BITMAP, 0, 0,
                                                LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) throw std::runtime_error("Bitmap ist ungültig");
  return std::make_shared<BitmapPicture>(bitmap);
}

std::shared_ptr<const Win32Picture> IconFromFileBytes(std::string_view bytes) {
  IconDirectory directory;
  if (bytes.size() < sizeof directory) ThrowInvalidIcon();
  std::memcpy(&directory, bytes.data(), sizeof directory);
  const std::size_t entries_end = sizeof directory + directory.count * sizeof(IconDirectoryEntry);
  if (directory.reserved != 0 || directory.type != 1 || directory.count == 0 ||
      bytes.size() < entries_end) {
    ThrowInvalidIcon();
  }
  const auto* entries =
      reinterpret_cast<const IconDirectoryEntry*>(bytes.data() + sizeof directory);
  const IconDirectoryEntry& entry = BestEntry(entries, directory.count);
  if (entry.image_offset > bytes.size() ||
      entry.bytes_in_image > bytes.size() - entry.image_offset) {
    ThrowInvalidIcon();
  }
  const int width = EdgeOf(entry.width);
  const int height = EdgeOf(entry.height);
  auto* image = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data() + entry.image_offset));
  HICON icon = CreateIconFromResourceEx(image, entry.bytes_in_image, TRUE, kIconFormatVersion,
                                        width, height, LR_DEFAULTCOLOR);
  if (!icon) ThrowInvalidIcon();
  return std::make_shared<IconPicture>(icon, width, height, true);
}

}  // namespace win32
