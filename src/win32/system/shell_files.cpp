// Folders, sizes and deleting through the shell.
#include <windows.h>

#include <shellapi.h>

#include "win32/base/dll_hardening.h"
#include "win32/base/wide_text.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

// Also in unattended runs: no question, no progress and no error box.
// shell32.dll comes with the first use.
void DeleteThroughShell(const std::string& source, FILEOP_FLAGS flags) {
  using FileOperationFunction = int(WINAPI*)(LPSHFILEOPSTRUCTW);
  static const auto file_operation =
      SystemFunction<FileOperationFunction>(L"shell32.dll", "SHFileOperationW");
  if (!file_operation) return;
  // A list of names, each ended by a zero, the list by one more.
  std::wstring list = Widen(source);
  list.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = flags | FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  file_operation(&operation);
}

}  // namespace

bool Win32System::FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32System::CreateFolder(const std::string& path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE;
}

void Win32System::ClearFolder(const std::string& mask) {
  DeleteThroughShell(mask, 0);
}

void Win32System::RecycleFile(const std::string& path) {
  DeleteThroughShell(path, FOF_ALLOWUNDO);
}

std::optional<std::uint64_t> Win32System::FileSize(const std::string& path) {
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(Widen(path).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::uint64_t> size;
  do {
    if (!(entry.dwFileAttributes & kNotOrdinary)) {
      size = (std::uint64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow;
    }
  } while (!size && FindNextFileW(search, &entry));
  FindClose(search);
  return size;
}

}  // namespace win32
