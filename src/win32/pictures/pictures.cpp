#include "win32/pictures/pictures.h"

namespace win32 {

BitmapPicture::BitmapPicture(HBITMAP bitmap) : bitmap_(bitmap) {
  BITMAP info{};
  if (GetObjectW(bitmap_, sizeof info, &info)) {
    width_ = info.bmWidth;
    height_ = info.bmHeight;
  }
}

BitmapPicture::~BitmapPicture() {
  DeleteObject(bitmap_);
}

void BitmapPicture::Draw(HDC dc, const RECT& where) const {
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, bitmap_);
  const int width = where.right - where.left;
  const int height = where.bottom - where.top;
  if (width == width_ && height == height_) {
    BitBlt(dc, where.left, where.top, width, height, source, 0, 0, SRCCOPY);
  } else {
    // HALFTONE averages pixels when shrinking instead of dropping them.
    const int old_mode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, where.left, where.top, width, height, source, 0, 0, width_, height_, SRCCOPY);
    SetStretchBltMode(dc, old_mode);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

IconPicture::IconPicture(HICON icon, int width, int height)
    : icon_(icon), width_(width), height_(height) {}

IconPicture::~IconPicture() {
  DestroyIcon(icon_);
}

void IconPicture::Draw(HDC dc, const RECT& where) const {
  DrawIconEx(dc, where.left, where.top, icon_, where.right - where.left, where.bottom - where.top,
             0, nullptr, DI_NORMAL);
}

}  // namespace win32
