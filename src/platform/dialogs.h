// Modal windows that ask or tell the user something.
#pragma once

#include <string>
#include <vector>

namespace platform {

enum class DialogIcon { Error, Information, Question };

// Answers of a dialog, as Windows numbers them.
enum DialogResult { kResultOk = 1, kResultYes = 6, kResultNo = 7 };

struct DialogButton {
  int result;
  std::string caption;  // "&" marks the access key
  std::string name;     // the control's name, for test drivers
};

// What the program's own dialog shows; the platform only draws it.
struct DialogContent {
  std::string caption;
  DialogIcon icon;
  std::string text;
  std::vector<DialogButton> buttons;
  int default_result;  // Enter
  int escape_result;   // Escape and the close box
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The application's error report: a message box with an error icon and OK.
  virtual void ErrorBox(const std::string& caption, const std::string& text) = 0;

  // The program's own dialog, modal and centred, with the text wrapped at
  // half the screen's width; returns the result of the answer.
  virtual int ShowDialog(const DialogContent& content) = 0;
};

}  // namespace platform
