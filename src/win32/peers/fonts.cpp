#include "win32/peers/fonts.h"

#include <cwchar>

namespace win32 {

namespace {

constexpr wchar_t kFace[] = L"Tahoma";
constexpr int kHeightAt96 = -11;  // 8 point

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

LOGFONTW Tahoma() {
  LOGFONTW font{};
  font.lfHeight = kHeightAt96;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = ANSI_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wcscpy(font.lfFaceName, kFace);
  return font;
}

// The message font comes at the screen's resolution; kept here at 96 dpi.
LOGFONTW MessageFont(int screen_dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, 96, screen_dpi);
  font.lfWeight = FW_NORMAL;
  return font;
}

}  // namespace

Fonts::Fonts(int screen_dpi) : base_(FaceInstalled(kFace) ? Tahoma() : MessageFont(screen_dpi)) {}

Fonts::~Fonts() {
  for (auto& entry : made_) DeleteObject(entry.second);
}

HFONT Fonts::Get(int dpi, bool bold) {
  HFONT& font = made_[{dpi, bold}];
  if (!font) {
    LOGFONTW wanted = base_;
    wanted.lfHeight = MulDiv(base_.lfHeight, dpi, 96);
    wanted.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font = CreateFontIndirectW(&wanted);
  }
  return font;
}

SIZE MeasureText(HFONT font, const std::wstring& text, UINT flags, int width) {
  RECT measured{0, 0, width, 0};
  HDC dc = GetDC(nullptr);  // any device context of the screen measures alike
  HGDIOBJ previous = SelectObject(dc, font);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return {measured.right, measured.bottom};
}

}  // namespace win32
