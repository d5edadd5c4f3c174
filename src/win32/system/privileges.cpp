#include "win32/system/privileges.h"

#include "win32/base/handles.h"

namespace win32 {

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

}  // namespace win32
