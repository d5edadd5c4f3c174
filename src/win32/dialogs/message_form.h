// The program's own message and question dialog, window class "TMessageForm":
// an icon, a text wrapped at half the screen's width, a row of buttons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win32 {

struct MessageButton {
  int id;
  std::wstring caption;
  std::wstring name;  // the control's name for test drivers
};

struct MessageContent {
  std::wstring caption;
  const wchar_t* icon;  // a system icon such as IDI_QUESTION
  std::wstring text;
  std::vector<MessageButton> buttons;
  int default_id;  // pressed by Enter while no button has the focus
  int cancel_id;   // the answer of Escape and of the close box
};

// Shows the dialog modally, centred on the screen, while the thread's other
// windows keep receiving their messages; returns the id of the answer.
int ShowMessageForm(const MessageContent& content);

}  // namespace win32
