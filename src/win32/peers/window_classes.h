// The program's own classes of child windows. Their behaviour lives in the
// peers, which get their messages through WindowPeer::ClassProcedure; the
// classes only name them and give them a cursor.
#pragma once

#include <windows.h>

namespace win32 {

constexpr wchar_t kContainerClass[] = L"InstallerContainer";  // panels, group boxes, tab sheets
constexpr wchar_t kLabelClass[] = L"InstallerLabel";
constexpr wchar_t kImageClass[] = L"InstallerImage";

void RegisterWindowClasses(HINSTANCE instance);

}  // namespace win32
