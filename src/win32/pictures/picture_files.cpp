#include "win32/pictures/picture_files.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "release/errors.h"
#include "win32/base/monitor_dpi.h"
#include "win32/base/wide_text.h"
#include "win32/pictures/lazy_picture.h"
#include "win32/pictures/pictures.h"
#include "win32/pictures/sized_icon.h"
#include "win32/portable/icon_choice.h"

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

// The directory of an icon file whose images all lie within it; throws otherwise.
std::vector<IconDirectoryEntry> IconEntries(std::string_view bytes) {
  IconDirectory directory;
  if (bytes.size() < sizeof directory) ThrowInvalidIcon();
  std::memcpy(&directory, bytes.data(), sizeof directory);
  const std::size_t entries_end = sizeof directory + directory.count * sizeof(IconDirectoryEntry);
  if (directory.reserved != 0 || directory.type != 1 || directory.count == 0 ||
      bytes.size() < entries_end) {
    ThrowInvalidIcon();
  }
  std::vector<IconDirectoryEntry> entries(directory.count);
  std::memcpy(entries.data(), bytes.data() + sizeof directory, entries.size() * sizeof entries[0]);
  for (const IconDirectoryEntry& entry : entries) {
    if (entry.image_offset > bytes.size() ||
        entry.bytes_in_image > bytes.size() - entry.image_offset) {
      ThrowInvalidIcon();
    }
  }
  return entries;
}

IconDirectoryEntry EntryForEdge(const std::vector<IconDirectoryEntry>& entries, int edge) {
  std::vector<IconImageSize> sizes;
  for (const IconDirectoryEntry& entry : entries)
    sizes.push_back({EdgeOf(entry.width), entry.bit_count});
  return entries[ChooseIconImage(sizes, edge)];
}

// The file's image that suits `edge` best, scaled to it; null when it is no icon image.
HICON IconOfEdge(std::string_view bytes, int edge) {
  const IconDirectoryEntry entry = EntryForEdge(IconEntries(bytes), edge);
  auto* image = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data() + entry.image_offset));
  return CreateIconFromResourceEx(image, entry.bytes_in_image, TRUE, kIconFormatVersion, edge,
                                  edge * EdgeOf(entry.height) / EdgeOf(entry.width),
                                  LR_DEFAULTCOLOR);
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

// The picture's own size is that of the image for a large icon at 96 dpi; each size it is drawn
// at gets the image that suits it. The image for the screen's icon size is made at once, so that
// a file that is no icon is reported when it is loaded.
std::shared_ptr<const Win32Picture> IconFromFileBytes(std::string_view bytes) {
  const IconDirectoryEntry own = EntryForEdge(IconEntries(bytes), IconEdgeAt(96));
  auto file = std::make_shared<const std::string>(bytes);
  auto icon = std::make_shared<SizedIcon>(EdgeOf(own.width), EdgeOf(own.height),
                                          [file](int edge) { return IconOfEdge(*file, edge); });
  if (!icon->Icon()) ThrowInvalidIcon();
  return icon;
}

}  // namespace win32
