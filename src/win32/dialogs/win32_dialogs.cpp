#include "win32/dialogs/win32_dialogs.h"

#include <windows.h>

#include "win32/base/wide_text.h"
#include "win32/dialogs/message_form.h"

namespace win32 {

namespace {

const wchar_t* SystemIcon(platform::DialogIcon icon) {
  switch (icon) {
    case platform::DialogIcon::Information:
      return IDI_INFORMATION;
    case platform::DialogIcon::Question:
      return IDI_QUESTION;
    default:
      return IDI_ERROR;
  }
}

}  // namespace

void Win32Dialogs::ErrorBox(const std::string& caption, const std::string& text) {
  MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(caption).c_str(), MB_ICONERROR | MB_OK);
}

int Win32Dialogs::ShowDialog(const platform::DialogContent& content) {
  MessageContent form{Widen(content.caption), SystemIcon(content.icon), Widen(content.text), {},
                      content.default_result, content.escape_result};
  for (const platform::DialogButton& button : content.buttons) {
    form.buttons.push_back({button.result, Widen(button.caption), Widen(button.name)});
  }
  return ShowMessageForm(form);
}

}  // namespace win32
