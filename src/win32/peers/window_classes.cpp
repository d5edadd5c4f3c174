#include "win32/peers/window_classes.h"

#include <initializer_list>

namespace win32 {

void RegisterPlainClass(HINSTANCE instance, const wchar_t* name, UINT style, HICON icon,
                        HBRUSH background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

void RegisterWindowClasses(HINSTANCE instance) {
  // Drawn whole on every resize: bevels, frames, right-aligned and stretched content.
  for (const wchar_t* name : {kContainerClass, kLabelClass, kImageClass}) {
    RegisterPlainClass(instance, name, CS_HREDRAW | CS_VREDRAW, nullptr, nullptr);
  }
}

}  // namespace win32
