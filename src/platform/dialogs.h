// Modal windows that ask or tell the user something.
#pragma once

#include <string>

namespace platform {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The application's error report: a message box with an error icon and OK.
  virtual void ErrorBox(const std::string& caption, const std::string& text) = 0;

  // The program's message dialog, centred, with the text wrapped at half the
  // screen's width and one button "OK" (default and Escape): caption
  // "Informationen" and the information icon, or "Fehler" and the error icon.
  virtual void MessageDialog(bool information, const std::string& text) = 0;

  // The question dialog "Bestätigen" with the question icon and the buttons
  // "&Ja" (default) and "&Nein" (Escape); true only when "&Ja" is pressed.
  virtual bool QuestionDialog(const std::string& text) = 0;
};

}  // namespace platform
