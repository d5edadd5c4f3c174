// Finding the installer's windows from another process: a form is a top-level window whose
// class name is the form's name, a control carries its name in the "ControlName" property.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

// What a command could not do; the driver prints it and stops.
struct Failure {
  std::wstring why;
};

// A top-level window of the class, the visible one first; nullptr when none exists.
// `process` 0 means any process.
HWND FindForm(const std::wstring& form, bool visible_only, DWORD process = 0);
// Like FindForm, but a missing form is a Failure.
HWND RequireForm(const std::wstring& form);
// `control` is a control name, or "#<id>" for a dialog item of a standard dialog.
HWND RequireControl(HWND form, const std::wstring& control);

// Waits until a visible window of the class exists (or, with `present` false, none does).
void WaitForForm(const std::wstring& form, bool present, DWORD timeout_ms);

// A message sent to a window of the program; a hung program is a Failure, not a hung driver.
constexpr UINT kAnswerTimeoutMs = 5000;
LRESULT Ask(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);

// The visible named controls of a form: its descendants in window order.
std::vector<HWND> VisibleControls(HWND form);

// Memory in the process of a window, for a message whose pointer no system carries to another
// process (LVM_GETITEMTEXTW's; WM_DPICHANGED's under Wine): the window reads and writes it in
// its own address space, where the driver puts what it points to.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, SIZE_T size);  // throws a Failure
  ~RemoteMemory();
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  LPARAM Address(SIZE_T offset = 0) const { return reinterpret_cast<LPARAM>(remote_ + offset); }
  void Write(const void* data, SIZE_T size, SIZE_T offset = 0);
  void Read(void* data, SIZE_T size, SIZE_T offset = 0) const;

 private:
  HANDLE process_ = nullptr;
  BYTE* remote_ = nullptr;
};

std::wstring WindowText(HWND window);
// The name the installer gave a control; empty for a window it did not name.
std::wstring ControlNameOf(HWND window);
std::wstring ClassOf(HWND window);

}  // namespace driver
