#include "driver_layout.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "driver_texts.h"
#include "driver_windows.h"

namespace driver {
namespace {

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool IsFrame(HWND window) {
  const std::wstring kind = ClassOf(window);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  return kind == WC_TABCONTROLW || (kind == WC_BUTTONW && (style & BS_TYPEMASK) == BS_GROUPBOX);
}

// A group box or a tab control holds what lies wholly within it.
bool Holds(HWND outer, HWND inner) {
  const RECT outside = ScreenRect(outer);
  const RECT inside = ScreenRect(inner);
  RECT both{};
  UnionRect(&both, &outside, &inside);
  return IsFrame(outer) && EqualRect(&both, &outside);
}

bool Overlap(HWND one, HWND other) {
  if (GetParent(one) != GetParent(other) || Holds(one, other) || Holds(other, one)) return false;
  const RECT a = ScreenRect(one);
  const RECT b = ScreenRect(other);
  RECT common{};
  return IntersectRect(&common, &a, &b) != 0;
}

// "<name>: text <w>x<h> in <w>x<h>" when the label's text, measured with the font it is drawn
// with, needs more room than the label has; empty otherwise.
std::wstring TextOverflow(HWND label, int dpi) {
  if (ClassOf(label) != L"InstallerLabel" || WindowText(label).empty()) return L"";
  RECT client{};
  GetClientRect(label, &client);
  const SIZE text = TextExtent(label, LooksBold(label, dpi), dpi);
  if (text.cx <= client.right && text.cy <= client.bottom) return L"";
  return ControlNameOf(label) + L": text " + std::to_wstring(text.cx) + L"x" +
         std::to_wstring(text.cy) + L" in " + std::to_wstring(client.right) + L"x" +
         std::to_wstring(client.bottom);
}

bool IsPushButton(HWND window) {
  const auto type = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & BS_TYPEMASK;
  return ClassOf(window) == WC_BUTTONW && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// "<name>: caption <w>x<h> in <w>x<h>" when a push button's caption needs more room than the
// button has inside its frame and the focus rectangle: a few pixels at each end, as Windows'
// own dialogs leave; empty otherwise.
std::wstring CaptionOverflow(HWND button, int dpi) {
  if (!IsPushButton(button) || WindowText(button).empty()) return L"";
  RECT client{};
  GetClientRect(button, &client);
  const int margin = MulDiv(4, dpi, 96);
  const SIZE room{client.right - 2 * margin, client.bottom};
  const SIZE caption = CaptionExtent(button, dpi);
  if (caption.cx <= room.cx && caption.cy <= room.cy) return L"";
  return ControlNameOf(button) + L": caption " + std::to_wstring(caption.cx) + L"x" +
         std::to_wstring(caption.cy) + L" in " + std::to_wstring(room.cx) + L"x" +
         std::to_wstring(room.cy);
}

void Add(std::wstring& lines, const std::wstring& line) {
  if (!line.empty()) lines += (lines.empty() ? L"" : L"\n") + line;
}

}  // namespace

std::wstring Layout(const Args& args) {
  const std::vector<HWND> controls = VisibleControls(RequireForm(args[0]));
  std::wstring lines;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      if (Overlap(controls[i], controls[j])) {
        Add(lines, ControlNameOf(controls[i]) + L" overlaps " + ControlNameOf(controls[j]));
      }
    }
  }
  const int dpi = static_cast<int>(Number(args[1]));
  for (HWND control : controls) {
    Add(lines, TextOverflow(control, dpi));
    Add(lines, CaptionOverflow(control, dpi));
  }
  return lines;
}

}  // namespace driver
