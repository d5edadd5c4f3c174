#include "win32/peers/label_peer.h"

#include <windowsx.h>

#include "win32/base/wide_text.h"
#include "win32/peers/colors.h"
#include "win32/peers/fonts.h"
#include "win32/peers/window_classes.h"

namespace win32 {

namespace {

// An empty text still measures one line.
std::wstring MeasuredText(const std::string& caption) {
  return caption.empty() ? L" " : Widen(caption);
}

}  // namespace

LabelPeer::LabelPeer(ui::Label& label, WindowPeer& parent)
    : WindowPeer(label, parent.Context(), parent.Scale()) {
  // Measured first, so that the window is made at its size.
  FitToText();
  CreateChild(parent.Handle(), {kLabelClass, StaticStyle()});
}

// Shown as written: a label's '&' is no access key (see ui::Label). DT_EDITCONTROL breaks a word
// wider than the label, such as a long address, inside it, as a multi-line edit control does.
UINT LabelPeer::TextFlags() const {
  const ui::Control& label = GetControl();
  return DT_EXPANDTABS | DT_NOPREFIX |
         (label.Has(ui::kWordWrap) ? DT_WORDBREAK | DT_EDITCONTROL : 0) |
         (label.Has(ui::kAlignRight) ? DT_RIGHT : DT_LEFT);
}

DWORD LabelPeer::StaticStyle() const {
  const UINT flags = TextFlags();
  const DWORD layout = (flags & DT_RIGHT)       ? SS_RIGHT
                       : (flags & DT_WORDBREAK) ? SS_LEFT
                                                : SS_LEFTNOWORDWRAP;
  return layout | ((flags & DT_NOPREFIX) ? SS_NOPREFIX : 0);
}

AccessibleLook LabelPeer::Look() const {
  const std::wstring text = Widen(GetControl().Caption());
  return {ROLE_SYSTEM_STATICTEXT, (TextFlags() & DT_NOPREFIX) ? text : WithoutPrefixes(text)};
}

bool LabelPeer::FitToText() {
  ui::Control& label = GetControl();
  if (!label.Has(ui::kAutoSize)) return CoverOneLine();
  const ui::Rect old = label.Bounds();
  const bool wrap = label.Has(ui::kWordWrap);
  SIZE measured = MeasureText(Font(), MeasuredText(label.Caption()), TextFlags(),
                              wrap ? Scale().ToPixels(old.width) : 0);
  // One pixel more than DrawText measures: under Wine, "1.2.3" in Tahoma at 8 points measured a
  // column short of what it drew, and the label cut off the right edge of the "3".
  if (!wrap) measured.cx += 1;

  const int width = wrap ? old.width : Scale().ToUnitsCovering(measured.cx);
  const int height = Scale().ToUnitsCovering(measured.cy);
  // A right-aligned label grows to the left.
  const int left = label.Has(ui::kAlignRight) ? old.right() - width : old.left;
  const ui::Rect fitted{left, old.top, width, height};
  if (fitted == old) return false;
  label.StoreBounds(fitted);
  return true;
}

// A label of one line, declared 13 units high, is 20 pixels at 144 dpi, where a line of the font
// is 21: it grows by what the scaling took from the line, so that no row of its text is cut.
bool LabelPeer::CoverOneLine() {
  ui::Control& label = GetControl();
  if (label.Has(ui::kWordWrap)) return false;
  TEXTMETRICW metrics{};
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, Font());
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  const ui::Rect old = label.Bounds();
  const int height = Scale().ToUnitsCovering(metrics.tmHeight);
  if (height <= old.height) return false;
  label.StoreBounds({old.left, old.top, old.width, height});
  return true;
}

void LabelPeer::ChangeScale(const DpiScale& scale) {
  WindowPeer::ChangeScale(scale);
  FitToText();
}

void LabelPeer::Apply(ui::Change what) {
  WindowPeer::Apply(what);
  if (what != ui::Change::Caption && what != ui::Change::Font && what != ui::Change::Enabled) {
    return;
  }
  if (FitToText()) ParentPeer()->ArrangeChildren();
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool LabelPeer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;  // painted whole in WM_PAINT
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_GETOBJECT:
      return AnswerAccessibleObject(Handle(), wparam, lparam, Look(), result);
    case WM_GETDLGCODE:
      // Not DLGC_STATIC: the dialog manager would take an '&' of its text for an access key.
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(Handle());
      return true;
    case WM_LBUTTONUP:
      MouseUp(lparam);
      return true;
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return false;
    default:
      return WindowPeer::HandleMessage(message, wparam, lparam, result);
  }
}

void LabelPeer::MouseUp(LPARAM lparam) {
  if (!pressed_) return;
  ReleaseCapture();  // clears pressed_ through WM_CAPTURECHANGED
  const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  const RECT client = ClientRect();
  if (PtInRect(&client, at)) Guard([&] { GetControl().Click(); });
}

void LabelPeer::Paint() {
  const ui::Control& label = GetControl();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  RECT client = ClientRect();
  FillRect(dc, &client, SolidBrush(dc, ParentPeer()->Background()));
  SelectObject(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, label.Enabled() ? ToColorRef(label.FontColor()) : GetSysColor(COLOR_GRAYTEXT));
  const std::wstring text = Widen(label.Caption());
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, TextFlags());
  EndPaint(Handle(), &paint);
}

}  // namespace win32
