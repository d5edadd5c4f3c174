#include "harness/release_folder.h"

#include <iconv.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>

#include "harness/wine_paths.h"

namespace e2e {
namespace {

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string ToWindows1252(const std::string& utf8) {
  iconv_t converter = iconv_open("WINDOWS-1252", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error("iconv knows no WINDOWS-1252");
  std::string in = utf8;
  std::string out(utf8.size(), '\0');  // never longer than its UTF-8 form
  char* in_at = in.data();
  size_t in_left = in.size();
  char* out_at = out.data();
  size_t out_left = out.size();
  const size_t result = iconv(converter, &in_at, &in_left, &out_at, &out_left);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1))
    throw std::invalid_argument("not Windows-1252: " + utf8.substr(in_at - in.data(), 20));
  out.resize(out.size() - out_left);
  return out;
}

std::string BitmapFile(int width, int height, unsigned colour) {
  const int row = (width * 3 + 3) / 4 * 4;
  const uint32_t pixels = static_cast<uint32_t>(row * height);
  std::string file = "BM";
  PutLittleEndian(file, 54 + pixels, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 54, 4);  // where the pixels start
  PutLittleEndian(file, 40, 4);  // BITMAPINFOHEADER
  PutLittleEndian(file, static_cast<uint32_t>(width), 4);
  PutLittleEndian(file, static_cast<uint32_t>(height), 4);  // positive: bottom-up rows
  PutLittleEndian(file, 1, 2);
  PutLittleEndian(file, 24, 2);
  PutLittleEndian(file, 0, 4);  // BI_RGB
  PutLittleEndian(file, pixels, 4);
  PutLittleEndian(file, 2835, 4);  // 72 dpi
  PutLittleEndian(file, 2835, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 0, 4);
  const unsigned frame = (colour >> 1) & 0x7F7F7F;
  for (int y = 0; y < height; ++y) {
    std::string line;
    for (int x = 0; x < width; ++x) {
      const bool edge = x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
      PutLittleEndian(line, edge ? frame : colour, 3);  // blue, green, red
    }
    line.resize(static_cast<size_t>(row), '\0');
    file += line;
  }
  return file;
}

std::string IconFile(unsigned colour) {
  constexpr int kSize = 16;
  constexpr uint32_t kImageBytes = 40 + kSize * kSize * 4 + kSize * 4;  // header, pixels, mask
  std::string file;
  PutLittleEndian(file, 0, 2);
  PutLittleEndian(file, 1, 2);  // an icon
  PutLittleEndian(file, 1, 2);  // one image
  file += static_cast<char>(kSize);
  file += static_cast<char>(kSize);
  PutLittleEndian(file, 0, 2);   // no palette
  PutLittleEndian(file, 1, 2);   // planes
  PutLittleEndian(file, 32, 2);  // bits per pixel
  PutLittleEndian(file, kImageBytes, 4);
  PutLittleEndian(file, 22, 4);  // where the image starts
  PutLittleEndian(file, 40, 4);
  PutLittleEndian(file, kSize, 4);
  PutLittleEndian(file, kSize * 2, 4);  // the colours and the mask
  PutLittleEndian(file, 1, 2);
  PutLittleEndian(file, 32, 2);
  for (int i = 0; i < 6; ++i) PutLittleEndian(file, 0, 4);
  for (int i = 0; i < kSize * kSize; ++i) PutLittleEndian(file, 0xFF000000u | colour, 4);
  file.append(kSize * 4, '\0');  // an opaque mask
  return file;
}

fs::path MakeRelease(const fs::path& folder, const ReleaseFiles& files) {
  fs::remove_all(folder);
  fs::create_directories(folder / "Data");
  const fs::path exe = folder / "Installer.exe";
  fs::copy_file(WindowsProgram("Installer.exe"), exe);
  auto encoded = [&](const std::string& text) {
    return files.ansi ? ToWindows1252(text) : "\xEF\xBB\xBF" + text;
  };
  WriteFile(folder / "Data" / "Settings.ini", encoded(files.settings));
  if (files.language) WriteFile(folder / "Data" / "Language.ini", encoded(*files.language));
  const unsigned colours[] = {0x3A6EA5, 0x4E9A06, 0xC4A000, 0x75507B};
  for (size_t i = 0; i < files.pictures.size(); ++i)
    WriteFile(folder / "Data" / files.pictures[i], BitmapFile(164, 313, colours[i % 4]));
  if (files.icon) WriteFile(folder / "Data" / "Icon.ico", IconFile(0x3A6EA5));
  if (files.continuation) WriteFile(folder / "rir_eridivu", *files.continuation);
  return exe;
}

}  // namespace e2e
