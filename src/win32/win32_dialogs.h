// The dialogs on real Windows: a message box for the error report, the
// program's own message form for messages and questions.
#pragma once

#include "platform/dialogs.h"

namespace win32 {

class Win32Dialogs : public platform::Dialogs {
 public:
  void ErrorBox(const std::string& caption, const std::string& text) override;
  void MessageDialog(bool information, const std::string& text) override;
  bool QuestionDialog(const std::string& text) override;
};

}  // namespace win32
