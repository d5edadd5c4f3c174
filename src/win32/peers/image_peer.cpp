#include "win32/peers/image_peer.h"

#include "win32/base/wide_text.h"
#include "win32/peers/accessible_static.h"
#include "win32/peers/colors.h"
#include "win32/peers/window_classes.h"
#include "win32/pictures/win32_picture.h"

namespace win32 {

ImagePeer::ImagePeer(ui::Image& image, WindowPeer& parent)
    : WindowPeer(image, parent.Context(), parent.Scale()), image_(image) {
  CreateChild(parent.Handle(), {kImageClass, 0});
}

void ImagePeer::Apply(ui::Change what) {
  WindowPeer::Apply(what);
  if (what == ui::Change::Picture) InvalidateRect(Handle(), nullptr, TRUE);
}

bool ImagePeer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;  // painted whole in WM_PAINT
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_GETOBJECT:
      return AnswerAccessibleObject(Handle(), wparam, lparam, Look(), result);
    default:
      return WindowPeer::HandleMessage(message, wparam, lparam, result);
  }
}

AccessibleLook ImagePeer::Look() const {
  const ui::Control* heading = image_.Heading();
  if (!heading) return {ROLE_SYSTEM_GRAPHIC, std::nullopt};
  return {ROLE_SYSTEM_GRAPHIC, Widen(heading->Caption())};
}

void ImagePeer::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  const RECT client = ClientRect();
  FillRect(dc, &client, SolidBrush(dc, ParentPeer()->Background()));
  if (auto* picture = dynamic_cast<const Win32Picture*>(image_.Picture().get())) {
    picture->Draw(dc, client);
  }
  EndPaint(Handle(), &paint);
}

}  // namespace win32
