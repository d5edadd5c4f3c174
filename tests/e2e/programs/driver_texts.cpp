#include "driver_texts.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "driver_windows.h"

namespace driver {
namespace {

using Pixels = std::vector<std::uint32_t>;

// The wrapping of a word-wrapped label; on a label of one line it changes nothing.
constexpr UINT kLayout = DT_EXPANDTABS | DT_WORDBREAK | DT_EDITCONTROL;

int ScreenDpi() {
  SetProcessDPIAware();  // else Wine reports 96 dpi to this process whatever the screen has
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// As the installer's fonts: 8 points at the form's dots per inch.
HFONT MakeFont(bool bold, int dpi) {
  return CreateFontW(MulDiv(-11, dpi, 96), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
}

// A memory bitmap of the given size, read back as 32-bit pixels.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc_; }
  Pixels Read() const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    Pixels pixels(static_cast<size_t>(width_) * height_);
    GetDIBits(dc_, bitmap_, 0, height_, pixels.data(), &info, DIB_RGB_COLORS);
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

// Ink: every pixel that differs from the colour most pixels have, the background.
std::vector<bool> Ink(const Pixels& pixels) {
  std::map<std::uint32_t, int> counts;
  for (std::uint32_t pixel : pixels) ++counts[pixel];
  const std::uint32_t background =
      std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
      })->first;
  std::vector<bool> ink;
  for (std::uint32_t pixel : pixels) ink.push_back(pixel != background);
  return ink;
}

// The label's pixels as the screen shows them now.
std::vector<bool> OnScreen(HWND control, const RECT& client) {
  POINT origin{0, 0};
  ClientToScreen(control, &origin);
  Canvas canvas(client.right, client.bottom);
  HDC screen = GetDC(nullptr);
  BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return Ink(canvas.Read());
}

// A window just shown may not have painted yet, and Wine copies what a program painted to the
// screen a moment later.
std::vector<bool> Captured(HWND control, const RECT& client) {
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Sleep(300);
  return OnScreen(control, client);
}

std::vector<bool> Rendered(const std::wstring& text, const RECT& client, bool bold, UINT flags,
                           int dpi) {
  Canvas canvas(client.right, client.bottom);
  RECT area = client;
  FillRect(canvas.Dc(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HFONT font = MakeFont(bold, dpi);
  HGDIOBJ previous = SelectObject(canvas.Dc(), font);
  SetBkMode(canvas.Dc(), TRANSPARENT);
  SetTextColor(canvas.Dc(), RGB(0, 0, 0));
  DrawTextW(canvas.Dc(), text.c_str(), static_cast<int>(text.size()), &area, kLayout | flags);
  SelectObject(canvas.Dc(), previous);
  DeleteObject(font);
  return Ink(canvas.Read());
}

int Mismatches(const std::vector<bool>& a, const std::vector<bool>& b) {
  int count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

RECT ClientOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  if (client.right <= 0 || client.bottom <= 0) throw Failure{L"the control has no area"};
  return client;
}

}  // namespace

// The fewer mismatches of either weight count for each way of drawing; a way matches when
// at most a tenth of the label's ink differs.
std::wstring Drawn(const Args& args) {
  HWND control = RequireControl(RequireForm(args[0]), args[1]);
  const RECT client = ClientOf(control);
  const std::wstring text = WindowText(control);
  const std::vector<bool> shown = Captured(control, client);
  const int dpi = ScreenDpi();
  int literal = 0, prefixed = 0;
  for (const UINT prefix : {UINT{DT_NOPREFIX}, UINT{0}}) {
    const int best = std::min(Mismatches(shown, Rendered(text, client, false, prefix, dpi)),
                              Mismatches(shown, Rendered(text, client, true, prefix, dpi)));
    (prefix ? literal : prefixed) = best;
  }
  const int ink = static_cast<int>(std::count(shown.begin(), shown.end(), true));
  const int limit = ink / 10;
  const std::wstring counts =
      std::to_wstring(literal) + L' ' + std::to_wstring(prefixed) + L" of " + std::to_wstring(ink);
  if (ink == 0 || std::min(literal, prefixed) > limit) return L"unknown " + counts;
  if (literal == prefixed) return L"either";
  return literal < prefixed ? L"literal" : L"prefixed";
}

std::wstring Fits(const Args& args) {
  HWND form = RequireForm(args[0]);
  HWND control = RequireControl(form, args[1]);
  const RECT client = ClientOf(control);
  const SIZE measured = TextExtent(control, false, ScreenDpi());
  RECT label{}, area{};
  GetWindowRect(control, &label);
  GetClientRect(form, &area);
  MapWindowPoints(form, nullptr, reinterpret_cast<POINT*>(&area), 2);
  RECT common{};
  IntersectRect(&common, &label, &area);
  return std::to_wstring(measured.cx) + L' ' + std::to_wstring(measured.cy) + L' ' +
         std::to_wstring(client.right) + L' ' + std::to_wstring(client.bottom) + L' ' +
         (EqualRect(&common, &label) ? L"1" : L"0");
}

SIZE TextExtent(HWND label, bool bold, int dpi) {
  const RECT client = ClientOf(label);
  const std::wstring text = WindowText(label);
  // The installer's right-aligned labels hold one line each.
  const bool wraps = (GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
  HDC screen = GetDC(nullptr);
  HFONT font = MakeFont(bold, dpi);
  HGDIOBJ previous = SelectObject(screen, font);
  RECT measured{0, 0, client.right, 0};
  DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &measured,
            (wraps ? kLayout : UINT{DT_EXPANDTABS}) | DT_NOPREFIX | DT_CALCRECT);
  SelectObject(screen, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return {measured.right, measured.bottom};
}

SIZE CaptionExtent(HWND button, int dpi) {
  const std::wstring text = WindowText(button);
  HDC screen = GetDC(nullptr);
  HFONT font = MakeFont(false, dpi);
  HGDIOBJ previous = SelectObject(screen, font);
  RECT measured{};
  DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_SINGLELINE | DT_CALCRECT);
  SelectObject(screen, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return {measured.right, measured.bottom};
}

bool LooksBold(HWND label, int dpi) {
  const RECT client = ClientOf(label);
  const std::wstring text = WindowText(label);
  const std::vector<bool> shown = OnScreen(label, client);
  const UINT align = (GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK) == SS_RIGHT ? DT_RIGHT : 0;
  return Mismatches(shown, Rendered(text, client, true, DT_NOPREFIX | align, dpi)) <
         Mismatches(shown, Rendered(text, client, false, DT_NOPREFIX | align, dpi));
}

std::wstring Bounds(const Args& args) {
  RECT r{};
  GetWindowRect(RequireControl(RequireForm(args[0]), args[1]), &r);
  return std::to_wstring(r.left) + L' ' + std::to_wstring(r.top) + L' ' + std::to_wstring(r.right) +
         L' ' + std::to_wstring(r.bottom);
}

}  // namespace driver
