#include "win32/pictures/banner_picture.h"

#include <windows.h>

#include <string_view>

#include "win32/pictures/lazy_picture.h"
#include "win32/pictures/pictures.h"
#include "win32/pictures/wic_decoder.h"
#include "win32/portable/jpeg_size.h"

namespace win32 {

namespace {

std::string_view ResourceBytes(const wchar_t* name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, name, RT_RCDATA);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const char*>(data), SizeofResource(module, resource)};
}

}  // namespace

std::shared_ptr<const Win32Picture> JpegResourcePicture(const wchar_t* name) {
  const std::string_view bytes = ResourceBytes(name);
  const std::optional<win32::JpegSize> size = win32::ReadJpegSize(bytes);
  if (!size) return nullptr;
  // Decoding waits for the first drawing: the banner's page is seldom the
  // first one shown, and the decoder's DLLs take long to load. The bytes are
  // the program's own and stay as long as it runs.
  return std::make_shared<LazyPicture>(
      size->width, size->height, [bytes]() -> std::shared_ptr<const Win32Picture> {
        HBITMAP bitmap = DecodeWithWic(reinterpret_cast<const BYTE*>(bytes.data()),
                                       static_cast<DWORD>(bytes.size()));
        if (!bitmap) return nullptr;
        return std::make_shared<BitmapPicture>(bitmap);
      });
}

}  // namespace win32
