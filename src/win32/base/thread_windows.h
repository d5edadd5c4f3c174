// What a modal window does to the rest of its thread: the other visible,
// enabled top-level windows take no input while it is open.
#pragma once

#include <windows.h>

#include <vector>

namespace win32 {

class DisabledThreadWindows {
 public:
  // Disables every such window of the calling thread except `modal`.
  explicit DisabledThreadWindows(HWND modal);
  // Enables again the windows that were disabled here and still exist.
  ~DisabledThreadWindows() { Restore(); }
  DisabledThreadWindows(const DisabledThreadWindows&) = delete;
  DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

  // Done before the modal window goes, so that activation returns to them.
  void Restore();

 private:
  std::vector<HWND> disabled_;
};

}  // namespace win32
