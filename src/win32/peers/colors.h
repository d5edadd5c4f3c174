// The colours of the control objects as Windows draws them.
#pragma once

#include <windows.h>

#include "ui/types.h"

namespace win32 {

// kSystem | n is the system's colour n, anything else a plain 0x00BBGGRR.
inline COLORREF ToColorRef(ui::Color color) {
  return (color & ui::kSystem) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

// A brush of that colour for the device context; nothing to delete.
inline HBRUSH SolidBrush(HDC dc, ui::Color color) {
  SetDCBrushColor(dc, ToColorRef(color));
  return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

}  // namespace win32
