// The resolution a window is drawn at: the screen's at first, the monitor's from Windows 8.1
// on, where each monitor has its own. The functions that older systems lack are looked up when
// first needed, so that the program still starts on Windows XP; without them every window has
// the screen's resolution.
#pragma once

#include <windows.h>

namespace win32 {

// Sent to a top-level window that came to a monitor of another resolution (Windows 8.1).
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED

// Asks for real pixels instead of the system's bitmap scaling (Windows Vista and later), where
// the manifest has not asked already; what the manifest asked for stays.
void DeclareDpiAware();

// Pixels per logical inch of the screen, which windows have until they learn their monitor's.
int ScreenDpi();

// The resolution of the window's monitor (Windows 10 1607 and later); 0 where the system
// cannot tell.
int WindowDpi(HWND window);

// Lets Windows 10 1607 scale the title bar and frame of a window to its monitor, which it does
// only when asked while the window is made, at WM_NCCREATE; later systems scale them anyway.
void ScaleNonClientArea(HWND window);

// Widens `rect`, a client area, to the window around it: by the frame of the styles at `dpi`
// where the system offers that (Windows 10 1607), else at the screen's resolution.
void AddFrame(RECT& rect, DWORD style, DWORD ex_style, int dpi);

// The edge of a large icon, and of a small one, at `dpi`.
int IconEdgeAt(int dpi);
int SmallIconEdgeAt(int dpi);

// An icon of `edge` pixels from the module's resources, or one of the system's (module null,
// IDI_...): scaled down from a larger image where the system can (Vista and later, common
// controls 6), else made from the nearest image. Null when there is none; the caller destroys it.
HICON LoadIconOfEdge(HINSTANCE module, const wchar_t* name, int edge);

}  // namespace win32
