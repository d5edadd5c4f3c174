#include "driver_pages.h"

#include <windows.h>

#include "driver_windows.h"

namespace driver {

std::wstring Maximize(const Args& args) {
  HWND form = RequireForm(args[0]);
  Ask(form, WM_SYSCOMMAND, SC_MAXIMIZE);
  for (int waited = 0; !IsZoomed(form); waited += 20) {
    if (waited >= 5000) throw Failure{args[0] + L" is not maximised"};
    Sleep(20);
  }
  return L"ok";
}

}  // namespace driver
