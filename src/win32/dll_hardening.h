// Keeps DLLs planted beside the program from being loaded in place of the
// system's own; systems without SetDefaultDllDirectories (before Windows 8
// without its update) only drop the current folder from the search.
#pragma once

namespace win32 {

// Call first thing at start, before anything loads a DLL on demand.
void RestrictDllSearchPath();

}  // namespace win32
