// Driver commands on a page's window as a whole, as its title bar's buttons and the system act
// on it.
#pragma once

#include "driver_system.h"

namespace driver {

// maximize <form>: the visible form's maximise box (WM_SYSCOMMAND SC_MAXIMIZE); waits up to
// 5 s until the window is maximised.
std::wstring Maximize(const Args& args);

// dpi <form> <from> <to>: the form comes to a monitor of <to> dpi from one of <from>, as Windows
// tells it (WM_DPICHANGED): wParam the new resolution, lParam the window rectangle it suggests,
// here the window where it stands with its client area scaled and its frame as it is (Wine draws
// every frame at the screen's resolution). Gives the client area's size before and after:
// "<width>x<height> <width>x<height>".
std::wstring ChangeDpi(const Args& args);

// awareness <form>: how the form's window follows the screen's resolution: 0 not at all (the
// system scales its picture), 1 at the system's resolution, 2 at its monitor's.
std::wstring Awareness(const Args& args);

}  // namespace driver
