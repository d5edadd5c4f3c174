// Where the parts of a message dialog go, measured with its font in
// dialog units as the classic message dialog does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win32 {

struct MessageLayout {
  SIZE client;
  RECT icon;
  RECT text;
  std::vector<RECT> buttons;
};

// dc has the dialog's font selected; the text wraps at max_text_width.
MessageLayout MeasureMessage(HDC dc, const std::wstring& text,
                             const std::vector<std::wstring>& button_captions, int icon_size,
                             int max_text_width);

}  // namespace win32
