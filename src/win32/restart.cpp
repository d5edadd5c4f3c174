// Asking Windows for a restart. The request only files it: the session ends
// later, through WM_QUERYENDSESSION and WM_ENDSESSION to every window.
#include <windows.h>

#include "win32/handles.h"
#include "win32/system_message.h"
#include "win32/win32_system.h"

namespace win32 {

namespace {

// ERROR_SUCCESS, or why the token could not be adjusted. A privilege the
// user lacks is not noticed here; ExitWindowsEx refuses then.
DWORD SetPrivilege(const wchar_t* name, bool enable) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    return GetLastError();
  }
  UniqueHandle closer(token);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
  if (!LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid) ||
      !AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) {
    return GetLastError();
  }
  return ERROR_SUCCESS;
}

}  // namespace

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
