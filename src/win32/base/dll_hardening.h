// Keeps DLLs planted beside the program from being loaded in place of the
// system's own; systems without SetDefaultDllDirectories (before Windows 8
// without its update) only drop the current folder from the search. The
// program imports only KERNEL32 and msvcrt directly: every other DLL, the
// delay-loaded USER32, GDI32, ADVAPI32 and COMCTL32 included, is loaded after
// the search is restricted. DLLs that the system's DLLs load past the
// restriction are loaded from the system folder beforehand.
#pragma once

#include <windows.h>

namespace win32 {

// Call first thing at start, before anything loads a DLL on demand. Only the
// first call acts; the first delay load calls it too, should it come earlier.
void RestrictDllSearchPath();

// Loads from the system folder, before the first window, the DLLs that the
// system's own DLLs load by name on the program's roads in a way the search
// restriction does not reach. A module already loaded is not searched for
// again, so a copy planted beside the program stays unused.
void PreloadSystemLibraries();

// A DLL of the system loaded from the system folder and kept until the end,
// for what the program needs only now and then; null when it is missing.
HMODULE LoadSystemLibrary(const wchar_t* file_name);

// A function of a loaded DLL, typed; null when the DLL or that system's
// version of it lacks the function.
template <typename Function>
Function FunctionOf(HMODULE library, const char* function_name) {
  FARPROC found = library ? GetProcAddress(library, function_name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

// A function of a DLL loaded by LoadSystemLibrary, or null.
template <typename Function>
Function SystemFunction(const wchar_t* file_name, const char* function_name) {
  return FunctionOf<Function>(LoadSystemLibrary(file_name), function_name);
}

}  // namespace win32
