#include "win32/base/monitor_dpi.h"

#include "win32/base/dll_hardening.h"

namespace win32 {

namespace {

template <typename Function>
Function User32Function(const char* name) {
  return SystemFunction<Function>(L"user32.dll", name);
}

int EdgeAt(int metric, int dpi) {
  return MulDiv(GetSystemMetrics(metric), dpi, ScreenDpi());
}

}  // namespace

void DeclareDpiAware() {
  using SetAwareFn = BOOL(WINAPI*)();
  static const auto set_aware = User32Function<SetAwareFn>("SetProcessDPIAware");
  if (set_aware) set_aware();
}

int ScreenDpi() {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int found = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return found > 0 ? found : 96;
  }();
  return dpi;
}

int WindowDpi(HWND window) {
  using GetDpiFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi = User32Function<GetDpiFn>("GetDpiForWindow");
  return get_dpi ? static_cast<int>(get_dpi(window)) : 0;
}

void ScaleNonClientArea(HWND window) {
  using EnableFn = BOOL(WINAPI*)(HWND);
  static const auto enable = User32Function<EnableFn>("EnableNonClientDpiScaling");
  if (enable) enable(window);
}

void AddFrame(RECT& rect, DWORD style, DWORD ex_style, int dpi) {
  using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32Function<AdjustFn>("AdjustWindowRectExForDpi");
  if (adjust) {
    adjust(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
}

int IconEdgeAt(int dpi) {
  return EdgeAt(SM_CXICON, dpi);
}

int SmallIconEdgeAt(int dpi) {
  return EdgeAt(SM_CXSMICON, dpi);
}

// The common controls 6 that the manifest names are loaded already: the name finds them.
HICON LoadIconOfEdge(HINSTANCE module, const wchar_t* name, int edge) {
  using LoadScaledFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  static const auto load_scaled =
      FunctionOf<LoadScaledFn>(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown");
  HICON icon = nullptr;
  if (load_scaled && SUCCEEDED(load_scaled(module, name, edge, edge, &icon))) return icon;
  // The shared icon keeps its resource, from which the copy takes the nearest image.
  HICON shared = LoadIconW(module, name);
  return shared ? static_cast<HICON>(CopyImage(shared, IMAGE_ICON, edge, edge, LR_COPYFROMRESOURCE))
                : nullptr;
}

}  // namespace win32
