// How a 32-bit program on 64-bit Windows names what a 64-bit program sees:
// the text of a path before and after its environment variables are expanded.
#pragma once

#include <string>

namespace win32 {

// %ProgramFiles% and %CommonProgramFiles%, in any letter case, replaced by
// the variables that name the 64-bit folders (%ProgramW6432%,
// %CommonProgramW6432%): in a 32-bit process the first ones name the 32-bit
// folders.
std::string SixtyFourBitVariables(const std::string& path);

// A path in `windows_folder`\System32, in any letter case, moved to
// `windows_folder`\Sysnative, where the file system redirector leaves a
// 32-bit program the native system folder; any other path unchanged.
std::string NativeSystemFolder(const std::string& path, const std::string& windows_folder);

}  // namespace win32
