// Who runs the program, and whether anybody can see its windows.
#include <windows.h>

#include "win32/base/handles.h"
#include "win32/system/win32_system.h"

namespace win32 {

bool Win32System::IsLocalSystem() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  UniqueHandle closer(token);
  alignas(TOKEN_USER) BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  return GetTokenInformation(token, TokenUser, user, sizeof user, &size) &&
         IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, WinLocalSystemSid);
}

bool Win32System::DesktopVisible() {
  USEROBJECTFLAGS flags{};
  DWORD size = 0;
  // A station that can't be asked is taken as the one with a display.
  if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                 &size)) {
    return true;
  }
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

unsigned long Win32System::SessionId() {
  DWORD session = 0;
  // A session that can't be told counts as one a user sees.
  return ProcessIdToSessionId(GetCurrentProcessId(), &session) ? session : 1;
}

}  // namespace win32
