// Whether the program runs with administrator rights.
#include <windows.h>

#include <optional>

#include "win32/base/handles.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

// Vista and later: the token is the full one. Nothing where the system does
// not know elevation (XP).
std::optional<bool> TokenIsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
  UniqueHandle closer(token);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) {
    return std::nullopt;
  }
  return elevation.TokenIsElevated != 0;
}

bool IsInAdministrators() {
  SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
    return false;
  }
  BOOL member = FALSE;
  const bool checked = CheckTokenMembership(nullptr, administrators, &member);
  FreeSid(administrators);
  return checked && member;
}

}  // namespace

bool Win32System::IsElevated() {
  const std::optional<bool> elevated = TokenIsElevated();
  return elevated ? *elevated : IsInAdministrators();
}

}  // namespace win32
