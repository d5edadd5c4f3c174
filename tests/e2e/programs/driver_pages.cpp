#include "driver_pages.h"

#include <windows.h>

#include "driver_windows.h"

namespace driver {
namespace {

std::wstring ClientSize(HWND form) {
  RECT client{};
  GetClientRect(form, &client);
  return std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom);
}

}  // namespace

std::wstring Maximize(const Args& args) {
  HWND form = RequireForm(args[0]);
  Ask(form, WM_SYSCOMMAND, SC_MAXIMIZE);
  for (int waited = 0; !IsZoomed(form); waited += 20) {
    if (waited >= 5000) throw Failure{args[0] + L" is not maximised"};
    Sleep(20);
  }
  return L"ok";
}

// Wine hands the message's pointer on as it is, so the rectangle goes where the form reads it.
std::wstring ChangeDpi(const Args& args) {
  HWND form = RequireForm(args[0]);
  const int from = static_cast<int>(Number(args[1]));
  const int to = static_cast<int>(Number(args[2]));
  RECT window{}, client{};
  GetWindowRect(form, &window);
  GetClientRect(form, &client);
  const RECT suggested{window.left, window.top,
                       window.right + MulDiv(client.right, to, from) - client.right,
                       window.bottom + MulDiv(client.bottom, to, from) - client.bottom};
  RemoteMemory remote(form, sizeof suggested);
  remote.Write(&suggested, sizeof suggested);
  const std::wstring before = ClientSize(form);
  Ask(form, WM_DPICHANGED, MAKEWPARAM(to, to), remote.Address());
  return before + L" " + ClientSize(form);
}

std::wstring Awareness(const Args& args) {
  const DPI_AWARENESS awareness =
      GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(RequireForm(args[0])));
  return std::to_wstring(static_cast<int>(awareness));
}

}  // namespace driver
