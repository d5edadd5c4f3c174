#include "win32/dialogs/win32_dialogs.h"

#include <windows.h>

#include "win32/base/wide_text.h"
#include "win32/dialogs/message_form.h"

namespace win32 {

void Win32Dialogs::ErrorBox(const std::string& caption, const std::string& text) {
  MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(caption).c_str(), MB_ICONERROR | MB_OK);
}

int Win32Dialogs::ShowDialog(const platform::DialogContent& content) {
  return ShowMessageForm(*app_, *backend_, content);
}

}  // namespace win32
