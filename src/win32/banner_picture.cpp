#include "win32/banner_picture.h"

#include <windows.h>

#include <string_view>

#include "app/jpeg_size.h"
#include "win32/pictures.h"
#include "win32/wic_decoder.h"

namespace win32 {

namespace {

// Decoding waits for the first drawing: the banner's page is seldom the
// first one shown, and the decoder's DLLs take long to load.
class LazyJpegPicture : public Win32Picture {
 public:
  // `bytes` stay valid as long as the program runs (a resource of its own).
  LazyJpegPicture(std::string_view bytes, app::JpegSize size) : bytes_(bytes), size_(size) {}

  int Width() const override { return size_.width; }
  int Height() const override { return size_.height; }

  void Draw(HDC dc, const RECT& where) const override {
    if (!tried_) {
      tried_ = true;
      HBITMAP bitmap = DecodeWithWic(reinterpret_cast<const BYTE*>(bytes_.data()),
                                     static_cast<DWORD>(bytes_.size()));
      if (bitmap) decoded_ = std::make_unique<BitmapPicture>(bitmap);
    }
    if (decoded_) decoded_->Draw(dc, where);
  }

 private:
  std::string_view bytes_;
  app::JpegSize size_;
  mutable bool tried_ = false;
  mutable std::unique_ptr<BitmapPicture> decoded_;
};

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
  const std::optional<app::JpegSize> size = app::ReadJpegSize(bytes);
  if (!size) return nullptr;
  return std::make_shared<LazyJpegPicture>(bytes, *size);
}

}  // namespace win32
