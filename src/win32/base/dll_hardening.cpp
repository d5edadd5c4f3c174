#include "win32/base/dll_hardening.h"

#include <delayimp.h>

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

// USER32, GDI32, ADVAPI32 and COMCTL32 are delay-loaded (src/win32/CMakeLists.txt), and
// each load passes here first. wWinMain restricts the search before its first call into
// them; should anything call one earlier (a static initialiser), the search is restricted
// here before the DLL is looked for. Returning null lets the helper load it by name, so
// that COMCTL32 comes from the side-by-side assembly the manifest asks for.
FARPROC WINAPI BeforeDelayLoad(unsigned notification, PDelayLoadInfo) {
  if (notification == dliNotePreLoadLibrary) RestrictDllSearchPath();
  return nullptr;
}

}  // namespace

void RestrictDllSearchPath() {
  static bool restricted = false;
  if (restricted) return;
  restricted = true;
  const auto set_default_directories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(Kernel32Function("SetDefaultDllDirectories")));
  if (set_default_directories && set_default_directories(kSearchSystem32)) return;
  // Without it, at least the current folder leaves the search path.
  SetDllDirectoryW(L"");
}

// Under Wine, imm32 and the X11 driver (at the first window) load ole32, and uxtheme (at
// the first themed drawing) loads msimg32, through delayed imports that search the folder
// the process started from, the program's own, whatever the program has set since. ole32's
// own imports, combase and rpcrt4, come from the system folder with it.
void PreloadSystemLibraries() {
  for (const wchar_t* file_name : {L"ole32.dll", L"msimg32.dll"}) LoadSystemLibrary(file_name);
}

HMODULE LoadSystemLibrary(const wchar_t* file_name) {
  if (SearchFlagsKnown()) return LoadLibraryExW(file_name, nullptr, kSearchSystem32);
  const std::wstring path = SystemFolderPath(file_name);
  return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

}  // namespace win32

// The delay-load helper's notification hook, declared C in <delayimp.h>; it takes
// the place of the runtime's empty one.
PfnDliHook __pfnDliNotifyHook2 = win32::BeforeDelayLoad;
