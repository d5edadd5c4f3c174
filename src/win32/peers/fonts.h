// The one typeface of every window: Tahoma 8 point, normal and bold, at the
// resolution a form is drawn in; the system's message font where Tahoma is
// not installed.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

namespace win32 {

class Fonts {
 public:
  explicit Fonts(int screen_dpi);
  ~Fonts();
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  // Made on first use and kept until the end.
  HFONT Get(int dpi, bool bold);

 private:
  LOGFONTW base_;  // at 96 dpi
  std::map<std::pair<int, bool>, HFONT> made_;
};

// The size DrawText gives `text` in `font` with `flags` (DT_CALCRECT added), wrapped at `width`
// pixels where the flags break lines.
SIZE MeasureText(HFONT font, const std::wstring& text, UINT flags, int width = 0);

}  // namespace win32
