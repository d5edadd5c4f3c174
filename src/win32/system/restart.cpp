// Asking Windows for a restart. The request only files it: the session ends
// later, through WM_QUERYENDSESSION and WM_ENDSESSION to every window.
#include <windows.h>

#include "win32/base/system_message.h"
#include "win32/system/privileges.h"
#include "win32/system/win32_system.h"

namespace win32 {

platform::Status Win32System::RequestRestart() {
  const DWORD not_enabled = SetPrivilege(SE_SHUTDOWN_NAME, true);
  if (not_enabled != ERROR_SUCCESS) return platform::Status::Failed(SystemMessage(not_enabled));
  const bool accepted = ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
  const DWORD refusal = GetLastError();
  SetPrivilege(SE_SHUTDOWN_NAME, false);
  if (!accepted) return platform::Status::Failed(SystemMessage(refusal));
  return {};
}

}  // namespace win32
