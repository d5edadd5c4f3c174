// The program's own classes of child windows. Their behaviour lives in the
// peers, which subclass each window; the classes only name it and give it a
// cursor.
#pragma once

#include <windows.h>

namespace win32 {

constexpr wchar_t kContainerClass[] = L"InstallerContainer";  // panels, group boxes, tab sheets
constexpr wchar_t kLabelClass[] = L"InstallerLabel";
constexpr wchar_t kImageClass[] = L"InstallerImage";

void RegisterWindowClasses(HINSTANCE instance);

}  // namespace win32
