#include "win32/dialogs/message_layout.h"

#include <algorithm>

namespace win32 {

namespace {

// Distances in dialog units: a quarter of the average character width
// horizontally, an eighth of the character height vertically.
constexpr int kMargin = 8;
constexpr int kSpacing = 10;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonSpacing = 4;

SIZE AverageCharSize(HDC dc) {
  wchar_t letters[52];
  for (int i = 0; i < 26; ++i) {
    letters[i] = static_cast<wchar_t>(L'A' + i);
    letters[26 + i] = static_cast<wchar_t>(L'a' + i);
  }
  SIZE size{};
  GetTextExtentPoint32W(dc, letters, 52, &size);
  size.cx /= 52;
  return size;
}

// Buttons widen for a caption that would not fit with some room to spare.
int ButtonWidth(HDC dc, const std::vector<std::wstring>& captions, int minimum) {
  int width = minimum;
  for (const std::wstring& caption : captions) {
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), -1, &extent, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
    if (extent.right > width - 8) width = extent.right + 10;
  }
  return width;
}

}  // namespace

MessageLayout MeasureMessage(HDC dc, const std::wstring& text,
                             const std::vector<std::wstring>& button_captions, int icon_size,
                             int max_text_width) {
  const SIZE unit = AverageCharSize(dc);
  const int margin_x = MulDiv(kMargin, unit.cx, 4);
  const int margin_y = MulDiv(kMargin, unit.cy, 8);
  const int spacing_x = MulDiv(kSpacing, unit.cx, 4);
  const int spacing_y = MulDiv(kSpacing, unit.cy, 8);
  const int button_width = ButtonWidth(dc, button_captions, MulDiv(kButtonWidth, unit.cx, 4));
  const int button_height = MulDiv(kButtonHeight, unit.cy, 8);
  const int button_spacing = MulDiv(kButtonSpacing, unit.cx, 4);

  // The same flags as the text's own drawing, so the text fits exactly.
  RECT text_rect{0, 0, max_text_width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
            DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  const int icon_text_width = text_rect.right + icon_size + spacing_x;
  const int icon_text_height = std::max<int>(text_rect.bottom, icon_size);

  const int count = static_cast<int>(button_captions.size());
  const int group_width = button_width * count + button_spacing * (count - 1);

  MessageLayout layout;
  layout.client.cx = std::max(icon_text_width, group_width) + margin_x * 2;
  layout.client.cy = icon_text_height + button_height + spacing_y + margin_y * 2;
  layout.icon = {margin_x, margin_y, margin_x + icon_size, margin_y + icon_size};
  const int text_left = icon_text_width - text_rect.right + margin_x;
  layout.text = {text_left, margin_y, text_left + text_rect.right, margin_y + text_rect.bottom};
  int x = (layout.client.cx - group_width) / 2;
  const int y = icon_text_height + margin_y + spacing_y;
  for (int i = 0; i < count; ++i) {
    layout.buttons.push_back({x, y, x + button_width, y + button_height});
    x += button_width + button_spacing;
  }
  return layout;
}

}  // namespace win32
