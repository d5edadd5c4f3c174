// Where the program and the system's own folders are.
#include <windows.h>

#include <stdexcept>

#include "win32/base/system_message.h"
#include "win32/base/wide_text.h"
#include "win32/portable/native_path.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

// GetWindowsDirectoryW or GetSystemDirectoryW, without a trailing backslash;
// empty when the system gives none.
std::wstring QueryFolder(UINT(WINAPI* query)(LPWSTR, UINT)) {
  std::wstring buffer(MAX_PATH, L'\0');
  UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
  if (length >= buffer.size()) {  // too small: the size it needs came back
    buffer.resize(length);
    length = query(buffer.data(), length);
    if (length >= buffer.size()) length = 0;
  }
  buffer.resize(length);
  if (!buffer.empty() && buffer.back() == L'\\') buffer.pop_back();
  return buffer;
}

// A 32-bit program on 64-bit Windows. XP before SP2 lacks IsWow64Process.
bool IsWow64() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto is_wow64_process =
      reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  return is_wow64_process && is_wow64_process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

std::string Win32System::ProgramPath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);  // cut off: try again with more room
  }
}

std::string Win32System::ProgramFolder() {
  const std::string path = ProgramPath();
  return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string Win32System::WindowsFolder() {
  const std::wstring folder = QueryFolder(GetWindowsDirectoryW);
  if (folder.empty()) throw std::runtime_error(SystemMessage(GetLastError()));
  return Narrow(folder);
}

std::string Win32System::SystemProgram(const std::string& file_name) {
  // The file system redirector would hand a 32-bit program the 32-bit
  // system folder; Sysnative names the native one (Vista on, XP x64 only
  // with an update).
  if (IsWow64()) {
    const std::string native = WindowsFolder() + "\\Sysnative";
    if (FolderExists(native)) return native + "\\" + file_name;
  }
  return Narrow(QueryFolder(GetSystemDirectoryW)) + "\\" + file_name;
}

// ExpandEnvironmentStringsW leaves an unknown variable as it is.
std::string Win32System::NativePath(const std::string& path) {
  const bool wow64 = IsWow64();
  const std::wstring text = Widen(wow64 ? SixtyFourBitVariables(path) : path);
  std::wstring expanded(MAX_PATH, L'\0');
  DWORD length =
      ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
  if (length > expanded.size()) {  // too small: the size it needs came back
    expanded.resize(length);
    length = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), length);
  }
  if (length == 0 || length > expanded.size()) return path;
  expanded.resize(length - 1);  // without the closing zero
  const std::string result = Narrow(expanded);
  if (!wow64) return result;
  // Sysnative exists from Vista on, on XP x64 only with an update.
  const std::string windows = WindowsFolder();
  return FolderExists(windows + "\\Sysnative") ? NativeSystemFolder(result, windows) : result;
}

}  // namespace win32
