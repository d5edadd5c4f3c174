#include "win32/pictures/lazy_picture.h"

namespace win32 {

const Win32Picture* LazyPicture::Made() const {
  if (!tried_) {
    tried_ = true;
    made_ = make_();
  }
  return made_.get();
}

void LazyPicture::Draw(HDC dc, const RECT& where) const {
  if (const Win32Picture* picture = Made()) picture->Draw(dc, where);
}

HICON LazyPicture::Icon() const {
  const Win32Picture* picture = Made();
  return picture ? picture->Icon() : nullptr;
}

}  // namespace win32
