#include "win32/base/thread_windows.h"

namespace win32 {

namespace {

struct Collection {
  HWND modal;
  std::vector<HWND>* windows;
};

BOOL CALLBACK CollectOne(HWND window, LPARAM context) {
  auto* collection = reinterpret_cast<Collection*>(context);
  if (window != collection->modal && IsWindowVisible(window) && IsWindowEnabled(window)) {
    collection->windows->push_back(window);
  }
  return TRUE;
}

}  // namespace

DisabledThreadWindows::DisabledThreadWindows(HWND modal) {
  Collection collection{modal, &disabled_};
  EnumThreadWindows(GetCurrentThreadId(), CollectOne, reinterpret_cast<LPARAM>(&collection));
  for (HWND window : disabled_) EnableWindow(window, FALSE);
}

void DisabledThreadWindows::Restore() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  disabled_.clear();
}

}  // namespace win32
