// A picture whose size is known at once and whose pixels are made when it is
// first drawn or its icon is first asked for: making them takes time that
// start-up should not spend on pictures most runs never show.
#pragma once

#include <functional>
#include <memory>

#include "win32/pictures/win32_picture.h"

namespace win32 {

class LazyPicture : public Win32Picture {
 public:
  // Null from `make`: the picture draws nothing and has no icon.
  using Maker = std::function<std::shared_ptr<const Win32Picture>()>;

  LazyPicture(int width, int height, Maker make)
      : width_(width), height_(height), make_(std::move(make)) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(HDC dc, const RECT& where) const override;
  HICON Icon() const override;

 private:
  const Win32Picture* Made() const;

  int width_;
  int height_;
  Maker make_;
  mutable bool tried_ = false;
  mutable std::shared_ptr<const Win32Picture> made_;
};

}  // namespace win32
