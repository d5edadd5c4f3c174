#include "win32/pictures/picture_files.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "release/errors.h"
#include "win32/base/wide_text.h"
#include "win32/pictures/lazy_picture.h"
#include "win32/pictures/pictures.h"

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
  throw release::WordedError(release::kWordBadIcon, {});
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

// A DIB section keeps the file's colours whatever the screen's depth. Null when the file is
// no bitmap.
std::shared_ptr<const Win32Picture> LoadBitmapFile(const std::string& path) {
  auto bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, Widen(path).c_str(), IMAGE_BITMAP, 0, 0,
                                                LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) return nullptr;
  return std::make_shared<BitmapPicture>(bitmap);
}

// The width and height in a bitmap file's header: an OS/2 core header or a Windows one (whose
// height is negative for rows from the top down).
std::optional<SIZE> BitmapSize(std::string_view bytes) {
  BITMAPFILEHEADER file;
  DWORD header_size = 0;
  if (bytes.size() < sizeof file + sizeof header_size) return std::nullopt;
  std::memcpy(&file, bytes.data(), sizeof file);
  std::memcpy(&header_size, bytes.data() + sizeof file, sizeof header_size);
  if (file.bfType != 0x4D42) return std::nullopt;  // "BM"
  if (header_size == sizeof(BITMAPCOREHEADER) && bytes.size() >= sizeof file + header_size) {
    BITMAPCOREHEADER core;
    std::memcpy(&core, bytes.data() + sizeof file, sizeof core);
    return SIZE{core.bcWidth, core.bcHeight};
  }
  BITMAPINFOHEADER info;
  if (header_size < sizeof info || bytes.size() < sizeof file + sizeof info) return std::nullopt;
  std::memcpy(&info, bytes.data() + sizeof file, sizeof info);
  return SIZE{info.biWidth, info.biHeight < 0 ? -info.biHeight : info.biHeight};
}

}  // namespace

PictureFileKind PictureFileKindOf(const std::string& path) {
  const std::string extension = ExtensionOf(path);
  if (SameAscii(extension, "bmp")) return PictureFileKind::kBitmap;
  if (SameAscii(extension, "ico")) return PictureFileKind::kIcon;
  throw release::WordedError(release::kWordUnknownPictureKind, extension);
}

// Pixels take the process's memory from the time they are made, and most runs show only some
// of the pages (a silent run none): a bitmap is made when it is first drawn. Its size comes
// from the file's header, and the file is read through once at 1 x 1 pixels, so that a file
// that is no bitmap is still reported at once.
std::shared_ptr<const Win32Picture> BitmapFromFile(const std::string& path,
                                                   std::string_view bytes) {
  const std::optional<SIZE> size = BitmapSize(bytes);
  const auto check = static_cast<HBITMAP>(
      LoadImageW(nullptr, Widen(path).c_str(), IMAGE_BITMAP, 1, 1, LR_LOADFROMFILE));
  if (!size || !check) throw release::WordedError(release::kWordBadBitmap, {});
  DeleteObject(check);
  return std::make_shared<LazyPicture>(size->cx, size->cy, [path] { return LoadBitmapFile(path); });
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
