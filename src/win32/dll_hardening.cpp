#include "win32/dll_hardening.h"

#include <string>

namespace win32 {

namespace {

// From the headers of newer systems; the functions themselves are looked up
// at run time because older ones lack them.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

FARPROC Kernel32Function(const char* name) {
  return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
}

// Where AddDllDirectory exists, LoadLibraryEx understands the search flags.
bool SearchFlagsKnown() {
  static const bool known = Kernel32Function("AddDllDirectory") != nullptr;
  return known;
}

std::wstring SystemFolderPath(const wchar_t* file_name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\" + file_name;
}

}  // namespace

void RestrictDllSearchPath() {
  const auto set_default_directories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(Kernel32Function("SetDefaultDllDirectories")));
  if (set_default_directories && set_default_directories(kSearchSystem32)) return;
  // Without it, at least the current folder leaves the search path.
  SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* file_name) {
  if (SearchFlagsKnown()) return LoadLibraryExW(file_name, nullptr, kSearchSystem32);
  const std::wstring path = SystemFolderPath(file_name);
  return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

}  // namespace win32
