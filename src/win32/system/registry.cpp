// The update records read and the run-once value written.
#include <windows.h>

#include "win32/base/handles.h"
#include "win32/base/wide_text.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

constexpr wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

}  // namespace

// KEY_WOW64_64KEY: a 32-bit build sees the keys that Windows itself keeps,
// not the 32-bit view of them (32-bit Windows ignores the flag).
std::vector<std::string> Win32System::MachineSubkeys(const std::string& key) {
  std::vector<std::string> names;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(key).c_str(), 0, KEY_READ | KEY_WOW64_64KEY,
                    &opened) != ERROR_SUCCESS) {
    return names;
  }
  UniqueKey closer(opened);
  wchar_t name[256];  // key names have at most 255 characters
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    if (RegEnumKeyExW(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return names;  // the end of the list, or as far as it could be read
    }
    names.push_back(Narrow(std::wstring_view(name, length)));
  }
}

// The run-once value goes into the 64-bit view too: the key Windows runs at the
// next logon, not the 32-bit program's copy of it under Wow6432Node.
bool Win32System::WriteRunOnce(const std::string& name, const std::string& command,
                               bool machine_wide) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(machine_wide ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kRunOnceKey, 0,
                      nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr,
                      &created, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  UniqueKey closer(created);
  const std::wstring data = Widen(command);
  const auto size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));  // with the zero
  return RegSetValueExW(created, Widen(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()), size) == ERROR_SUCCESS;
}

void Win32System::DeleteRunOnce(const std::string& name, bool machine_wide) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(machine_wide ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kRunOnceKey, 0,
                    KEY_SET_VALUE | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) {
    return;
  }
  UniqueKey closer(opened);
  RegDeleteValueW(opened, Widen(name).c_str());
}

}  // namespace win32
