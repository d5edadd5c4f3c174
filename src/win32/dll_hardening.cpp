#include "win32/dll_hardening.h"

#include <windows.h>

namespace win32 {

namespace {

// From the headers of newer systems; the function itself is looked up at run
// time because older ones lack it.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

}  // namespace

void RestrictDllSearchPath() {
  const FARPROC found =
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  const auto set_default_directories =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(found));
  if (set_default_directories && set_default_directories(kSearchSystem32)) return;
  // Without it, at least the current folder leaves the search path.
  SetDllDirectoryW(L"");
}

}  // namespace win32
