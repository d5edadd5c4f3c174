// Privileges of the process's token, enabled only for the call that needs them.
#pragma once

#include <windows.h>

namespace win32 {

// ERROR_SUCCESS, or why the token could not be adjusted. A privilege the
// user lacks is not noticed here; the call that needs it refuses then.
DWORD SetPrivilege(const wchar_t* name, bool enable);

}  // namespace win32
