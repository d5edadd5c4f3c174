// The dialogs on real Windows: a message box for the error report, the
// program's own message form for messages and questions.
#pragma once

#include "platform/dialogs.h"

namespace win32 {

class Win32Dialogs : public platform::Dialogs {
 public:
  void ErrorBox(const std::string& caption, const std::string& text) override;
  int ShowDialog(const platform::DialogContent& content) override;
};

}  // namespace win32
