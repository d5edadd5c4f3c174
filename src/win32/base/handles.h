// Kernel handles, registry keys and icons that close themselves.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace win32 {

struct HandleCloser {
  // CreateFile reports failure as INVALID_HANDLE_VALUE, not as null.
  void operator()(HANDLE handle) const {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

struct IconDestroyer {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

}  // namespace win32
