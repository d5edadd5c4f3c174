// Failures that carry the runtime's German messages, shown to the user by the
// application's error report.
#pragma once

#include <stdexcept>
#include <string>

namespace release {

class AppError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text that is not an integer.
class ConvertError : public AppError {
 public:
  explicit ConvertError(const std::string& text)
      : AppError("'" + text + "' ist kein gültiger Integerwert") {}
};

// An index outside its table.
class RangeError : public AppError {
 public:
  RangeError() : AppError("Fehler bei Bereichsprüfung") {}
};

}  // namespace release
