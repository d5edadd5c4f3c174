// Modal windows that ask or tell the user something.
#pragma once

#include <string>

namespace platform {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The application's error report: a message box with an error icon and OK.
  virtual void ErrorBox(const std::string& caption, const std::string& text) = 0;
};

}  // namespace platform
