// What is installed, read as a 64-bit program sees it: the registry's 64-bit
// view (KEY_WOW64_64KEY, which 32-bit Windows ignores), files' versions and
// Windows Installer's products. Called on the worker.
#include <windows.h>

#include <msi.h>

#include "win32/base/dll_hardening.h"
#include "win32/base/handles.h"
#include "win32/base/system_message.h"
#include "win32/base/wide_text.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

// A key of HKEY_LOCAL_MACHINE opened for `access`; null with the reason when it can't be.
UniqueKey OpenMachineKey(const std::string& key, REGSAM access, std::string& reason) {
  HKEY opened = nullptr;
  const LONG result =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(key).c_str(), 0, access | KEY_WOW64_64KEY, &opened);
  if (result != ERROR_SUCCESS) {
    reason = SystemMessage(static_cast<DWORD>(result));
    return nullptr;
  }
  return UniqueKey(opened);
}

// REG_SZ data up to its first zero: the size the registry gives may or may not count it.
std::string TextOf(const std::vector<BYTE>& data) {
  const auto* text = reinterpret_cast<const wchar_t*>(data.data());
  std::wstring_view view(text, data.size() / sizeof(wchar_t));
  return Narrow(view.substr(0, view.find(L'\0')));
}

}  // namespace

// The store of installed updates holds thousands of keys: the list is made
// as long as the key says before it is filled.
platform::Result<std::vector<std::string>> Win32System::MachineSubkeyNames(const std::string& key) {
  std::string reason;
  const UniqueKey opened = OpenMachineKey(key, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, reason);
  if (!opened) return {std::nullopt, reason};
  DWORD count = 0;
  std::vector<std::string> names;
  if (RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
    names.reserve(count);
  }
  wchar_t name[256];  // key names have at most 255 characters
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    if (RegEnumKeyExW(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return {names, {}};  // the end of the list, or as far as it could be read
    }
    names.push_back(Narrow(std::wstring_view(name, length)));
  }
}

platform::Result<platform::System::ValueData> Win32System::MachineValue(const std::string& key,
                                                                        const std::string& name) {
  using Found = platform::Result<ValueData>;
  std::string reason;
  const UniqueKey opened = OpenMachineKey(key, KEY_QUERY_VALUE, reason);
  if (!opened) return Found::Failed(reason);
  const std::wstring value = Widen(name);
  // One request for the common small value: under Wine each one is a trip to its server.
  std::vector<BYTE> data(512);
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(data.size());
  LONG result = RegQueryValueExW(opened.get(), value.c_str(), nullptr, &type, data.data(), &size);
  if (result == ERROR_MORE_DATA) {
    data.resize(size + sizeof(wchar_t));  // room for a zero the data may lack
    size = static_cast<DWORD>(data.size());
    result = RegQueryValueExW(opened.get(), value.c_str(), nullptr, &type, data.data(), &size);
  }
  if (result != ERROR_SUCCESS) {
    return Found::Failed(name + ": " + SystemMessage(static_cast<DWORD>(result)));
  }
  data.resize(size);
  if (type == REG_SZ || type == REG_EXPAND_SZ) return {TextOf(data), {}};
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    CopyMemory(&number, data.data(), sizeof number);
    return {static_cast<std::uint32_t>(number), {}};
  }
  return Found::Failed(name + ": der Wert hat den Typ " + std::to_string(type) +
                       ", verglichen werden nur Text und DWORD");
}

// version.dll from the system folder, at the first rule that needs it.
platform::Result<std::uint64_t> Win32System::FileVersion(const std::string& path) {
  using Found = platform::Result<std::uint64_t>;
  using SizeFunction = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFunction = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  const auto size_of = SystemFunction<SizeFunction>(L"version.dll", "GetFileVersionInfoSizeW");
  const auto info_of = SystemFunction<InfoFunction>(L"version.dll", "GetFileVersionInfoW");
  const auto query = SystemFunction<QueryFunction>(L"version.dll", "VerQueryValueW");
  if (!size_of || !info_of || !query)
    return Found::Failed("version.dll: " + SystemMessage(GetLastError()));
  const std::wstring file = Widen(path);
  DWORD ignored = 0;
  std::vector<BYTE> info(size_of(file.c_str(), &ignored));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (info.empty() || !info_of(file.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
      !query(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return Found::Failed(SystemMessage(GetLastError()));
  }
  return {static_cast<std::uint64_t>(fixed->dwFileVersionMS) << 32 | fixed->dwFileVersionLS, {}};
}

// msi.dll from the system folder, at the first rule that needs it.
platform::Result<bool> Win32System::MsiProductInstalled(const std::string& product_code) {
  using Found = platform::Result<bool>;
  using StateFunction = INSTALLSTATE(WINAPI*)(LPCWSTR);
  const auto state_of = SystemFunction<StateFunction>(L"msi.dll", "MsiQueryProductStateW");
  if (!state_of) return Found::Failed("msi.dll: " + SystemMessage(GetLastError()));
  const INSTALLSTATE state = state_of(Widen(product_code).c_str());
  if (state == INSTALLSTATE_INVALIDARG) return Found::Failed("der Produktcode wird abgelehnt");
  return {state == INSTALLSTATE_DEFAULT, {}};
}

}  // namespace win32
