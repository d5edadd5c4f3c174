// Driver commands about what lies around the forms: windows over time, files, processes, the
// tray and the main thread's answer times. Each takes the command's words after its name.
#pragma once

#include <string>
#include <vector>

namespace driver {

using Args = std::vector<std::wstring>;

// A whole decimal number of milliseconds (or of anything else); a Failure otherwise.
unsigned long Number(const std::wstring& text);

// exists <form>: 1 when any window of the class exists, hidden ones included, else 0.
std::wstring Exists(const Args& args);
// absent <form> <ms>: polls for <ms>; fails as soon as a visible window of the class appears.
std::wstring Absent(const Args& args);
// attributes <path>: the file's attributes as names joined by '+', or "missing".
std::wstring Attributes(const Args& args);
// terminate <form>: ends every process that owns a window of the class; their number.
std::wstring Terminate(const Args& args);
// memory <form>: GetProcessMemoryInfo of the one process that owns a window of the class:
// "<peak working set> <working set> <private bytes> <peak private bytes>", in KB.
std::wstring Memory(const Args& args);
// traynotify <mouse>: posts the tray icon's notification (lbuttondblclk, rbuttondown) to the
// program's hidden tray window, as the shell does for a mouse action on the icon.
std::wstring TrayNotify(const Args& args);
// roundtrips <form> <count> <gap ms>: <count> times SendMessageTimeout WM_NULL to the visible
// form, <gap ms> apart; the round trips in milliseconds, separated by blanks.
std::wstring RoundTrips(const Args& args);
// unseen <program> <ms>: starts the program, without arguments, on a window station without a
// display (a service's, as a deployment agent's or a scheduled task's), and waits up to <ms> for
// its end; its exit code. Fails, and ends it, when it is still running then.
std::wstring Unseen(const Args& args);

}  // namespace driver
