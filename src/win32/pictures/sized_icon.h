// An icon drawn from an image made for the size of its place: sharp on a monitor of any
// resolution, where a form draws it larger or smaller than at 96 dpi. Each size is made when
// it is first drawn and kept.
#pragma once

#include <windows.h>

#include <functional>
#include <map>

#include "win32/base/handles.h"
#include "win32/pictures/win32_picture.h"

namespace win32 {

class SizedIcon : public Win32Picture {
 public:
  // An icon `edge` pixels wide, which the picture then owns; null when none can be made.
  using Maker = std::function<HICON(int edge)>;

  // `width` and `height`: the picture's own size, at 96 dpi.
  SizedIcon(int width, int height, Maker make)
      : width_(width), height_(height), make_(std::move(make)) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(HDC dc, const RECT& where) const override;
  // At the screen's icon size, for the notification area.
  HICON Icon() const override;

 private:
  HICON OfEdge(int edge) const;

  int width_;
  int height_;
  Maker make_;
  mutable std::map<int, UniqueIcon> made_;
};

}  // namespace win32
