#include "win32/pictures/sized_icon.h"

#include "win32/base/monitor_dpi.h"

namespace win32 {

HICON SizedIcon::OfEdge(int edge) const {
  UniqueIcon& icon = made_[edge];
  if (!icon) icon.reset(make_(edge));
  return icon.get();
}

void SizedIcon::Draw(HDC dc, const RECT& where) const {
  const int width = where.right - where.left;
  if (HICON icon = OfEdge(width)) {
    DrawIconEx(dc, where.left, where.top, icon, width, where.bottom - where.top, 0, nullptr,
               DI_NORMAL);
  }
}

HICON SizedIcon::Icon() const {
  return OfEdge(IconEdgeAt(ScreenDpi()));
}

}  // namespace win32
