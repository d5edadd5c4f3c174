// The dialogs on real Windows: a message box for the error report, the
// program's own message form for messages and questions.
#pragma once

#include "platform/dialogs.h"
#include "ui/application.h"

namespace win32 {

class UiBackend;

class Win32Dialogs : public platform::Dialogs {
 public:
  // The message forms are forms of this application, made by its backend;
  // given before the first of them is shown.
  void ShowOn(ui::Application& app, UiBackend& backend) {
    app_ = &app;
    backend_ = &backend;
  }

  void ErrorBox(const std::string& caption, const std::string& text) override;
  int ShowDialog(const platform::DialogContent& content) override;

 private:
  ui::Application* app_ = nullptr;
  UiBackend* backend_ = nullptr;
};

}  // namespace win32
