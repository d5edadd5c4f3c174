// Driver commands on a page's window as a whole, as its title bar's buttons act on it.
#pragma once

#include "driver_system.h"

namespace driver {

// maximize <form>: the visible form's maximise box (WM_SYSCOMMAND SC_MAXIMIZE); waits up to
// 5 s until the window is maximised.
std::wstring Maximize(const Args& args);

}  // namespace driver
