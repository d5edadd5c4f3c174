// Decoding a picture in memory with the Windows Imaging Component. WIC is
// loaded with the first picture decoded, not at start-up (ole32.dll is, for
// PreloadSystemLibraries).
#pragma once

#include <windows.h>

namespace win32 {

// The first frame as a 32-bit top-down DIB section owned by the caller;
// null when COM, WIC or the picture fail.
HBITMAP DecodeWithWic(const BYTE* data, DWORD size);

}  // namespace win32
