// The progress on a form's taskbar button, through the shell's taskbar list
// (Windows 7 and later). Where the shell has none, nothing is shown and
// nothing fails.
#pragma once

#include <windows.h>

#include "ui/form.h"

namespace win32 {

void ShowTaskbarProgress(HWND window, const ui::TaskbarProgress& progress);

// The message the shell sends when it has made a window's taskbar button:
// what was set before it came is set again. The program runs elevated, so
// the message is let through from the shell's lower integrity level.
UINT TaskbarButtonCreatedMessage();
void AcceptTaskbarButtonCreated(HWND window);

}  // namespace win32
