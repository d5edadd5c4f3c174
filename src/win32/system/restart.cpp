// Asking Windows for a restart. The request only files it: the session ends
// later, through WM_QUERYENDSESSION and WM_ENDSESSION to every window.
#include <windows.h>

#include "win32/base/system_message.h"
#include "win32/system/privileges.h"
#include "win32/system/win32_system.h"

namespace win32 {

bool Win32System::RequestRestart(std::string& reason) {
  const DWORD not_enabled = SetPrivilege(SE_SHUTDOWN_NAME, true);
  if (not_enabled != ERROR_SUCCESS) {
    reason = SystemMessage(not_enabled);
    return false;
  }
  const bool accepted = ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
  const DWORD refusal = GetLastError();
  SetPrivilege(SE_SHUTDOWN_NAME, false);
  if (!accepted) reason = SystemMessage(refusal);
  return accepted;
}

}  // namespace win32
