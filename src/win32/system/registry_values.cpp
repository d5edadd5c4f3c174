// The record for deployment tools: a key of the program and its values.
#include <windows.h>

#include <variant>

#include "win32/base/handles.h"
#include "win32/base/system_message.h"
#include "win32/base/wide_text.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

// Text of REG_SZ or REG_MULTI_SZ; `data` holds every zero it needs but the
// one c_str() adds.
LONG SetText(HKEY key, const std::wstring& name, DWORD type, const std::wstring& data) {
  const auto size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                        size);
}

// Each text ends with a zero and the list with one more.
std::wstring MultiText(const std::vector<std::string>& texts) {
  std::wstring data;
  for (const std::string& text : texts) data += Widen(text) + L'\0';
  return data;
}

LONG SetValue(HKEY key, const std::wstring& name, const platform::System::RegistryData& data) {
  if (const auto* text = std::get_if<std::string>(&data)) {
    return SetText(key, name, REG_SZ, Widen(*text));
  }
  if (const auto* texts = std::get_if<std::vector<std::string>>(&data)) {
    return SetText(key, name, REG_MULTI_SZ, MultiText(*texts));
  }
  const DWORD number = std::get<std::uint32_t>(data);
  return RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                        sizeof number);
}

}  // namespace

// KEY_WOW64_64KEY: the record of a 32-bit build lands where a 64-bit build's
// does, so a detection rule finds it whichever build ran (32-bit Windows
// ignores the flag).
platform::Status Win32System::WriteRegistryValues(bool machine_wide, const std::string& key,
                                                  const RegistryValues& values) {
  HKEY created = nullptr;
  LONG result = RegCreateKeyExW(machine_wide ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                                Widen(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &created, nullptr);
  if (result != ERROR_SUCCESS)
    return platform::Status::Failed(SystemMessage(static_cast<DWORD>(result)));
  UniqueKey closer(created);
  for (const auto& [name, data] : values) {
    result = SetValue(created, Widen(name), data);
    if (result != ERROR_SUCCESS) {
      return platform::Status::Failed(name + ": " + SystemMessage(static_cast<DWORD>(result)));
    }
  }
  return {};
}

}  // namespace win32
