// A picture that Windows can draw: a bitmap, an icon or a decoded JPEG.
#pragma once

#include <windows.h>

#include "platform/picture.h"

namespace win32 {

class Win32Picture : public platform::Picture {
 public:
  // Draws the picture into the rectangle, stretched when its size differs.
  virtual void Draw(HDC dc, const RECT& where) const = 0;
  // An icon handle for window and tray icons; null for a bitmap.
  virtual HICON Icon() const { return nullptr; }
};

}  // namespace win32
