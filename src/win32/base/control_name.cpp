#include "win32/base/control_name.h"

#include <commctrl.h>

namespace win32 {

namespace {

constexpr wchar_t kProperty[] = L"ControlName";
constexpr UINT_PTR kSubclassId = 0x434E;  // "CN"

LRESULT CALLBACK RemoveNameOnDestroy(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR, DWORD_PTR) {
  if (message == WM_NCDESTROY) {
    ForgetControlName(window);
    RemoveWindowSubclass(window, RemoveNameOnDestroy, kSubclassId);
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

void SetControlName(HWND window, const wchar_t* name) {
  AttachControlName(window, name);
  SetWindowSubclass(window, RemoveNameOnDestroy, kSubclassId, 0);
}

void AttachControlName(HWND window, const wchar_t* name) {
  const ATOM atom = GlobalAddAtomW(name);
  if (atom) SetPropW(window, kProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

void ForgetControlName(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropW(window, kProperty)));
  if (atom) GlobalDeleteAtom(atom);
}

}  // namespace win32
