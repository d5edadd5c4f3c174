// Handing a web address to the shell.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "win32/wide_text.h"
#include "win32/win32_system.h"

namespace win32 {

void Win32System::OpenLink(const std::string& address) {
  ShellExecuteW(nullptr, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace win32
