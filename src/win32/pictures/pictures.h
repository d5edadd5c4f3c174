// The two kinds of picture Windows draws for the program: bitmaps and icons.
#pragma once

#include <windows.h>

#include "win32/pictures/win32_picture.h"

namespace win32 {

class BitmapPicture : public Win32Picture {
 public:
  // Takes ownership of the bitmap.
  explicit BitmapPicture(HBITMAP bitmap);
  ~BitmapPicture() override;
  BitmapPicture(const BitmapPicture&) = delete;
  BitmapPicture& operator=(const BitmapPicture&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(HDC dc, const RECT& where) const override;

 private:
  HBITMAP bitmap_;
  int width_ = 0;
  int height_ = 0;
};

class IconPicture : public Win32Picture {
 public:
  // Takes ownership of the icon.
  IconPicture(HICON icon, int width, int height);
  ~IconPicture() override;
  IconPicture(const IconPicture&) = delete;
  IconPicture& operator=(const IconPicture&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(HDC dc, const RECT& where) const override;
  HICON Icon() const override { return icon_; }

 private:
  HICON icon_;
  int width_;
  int height_;
};

}  // namespace win32
