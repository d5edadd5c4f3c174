// The files of a run that nobody watches: the install log, its path made
// absolute and what can't be written to it, the fallback folder for a program
// folder that can't be written, a continuation file moved aside.
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <variant>

#include "win32/base/dll_hardening.h"
#include "win32/base/handles.h"
#include "win32/base/system_message.h"
#include "win32/base/wide_text.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

constexpr char kProfileListKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

std::string Win32System::TemporaryFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return WithBackslash(WindowsFolder()) + "Temp\\";
  return WithBackslash(Narrow(std::wstring_view(buffer, length)));
}

// From Vista on the profile list names the folder of all users' program data;
// reading it there spares the start loading shell32 with shcore and shlwapi
// (tens of milliseconds). XP keeps the folder in the all-users profile under a
// localised name that only shell32 knows: there shell32.dll comes with this
// first use, as everywhere in the program.
std::string Win32System::CommonDataFolder() {
  const auto listed = MachineValue(kProfileListKey, "ProgramData");
  if (const auto* text = listed.value ? std::get_if<std::string>(&*listed.value) : nullptr) {
    const std::string folder = NativePath(*text);  // "%SystemDrive%\ProgramData"
    if (FolderExists(folder)) return WithBackslash(folder);
  }
  using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  static const auto folder_path =
      SystemFunction<FolderPathFunction>(L"shell32.dll", "SHGetFolderPathW");
  wchar_t buffer[MAX_PATH];
  if (folder_path && SUCCEEDED(folder_path(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, buffer))) {
    return WithBackslash(Narrow(buffer));
  }
  return WithBackslash(WindowsFolder()) + "Temp\\";
}

bool Win32System::FolderWritable(const std::string& folder) {
  const std::wstring probe = Widen(WithBackslash(folder)) + L"~installer-write-test.tmp";
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// Two installers started together append to one log: each write goes to the
// end whole, so neither keeps the other out (a share for reading alone lost
// the second one's lines).
platform::Status Win32System::AppendToFile(const std::string& path, const std::string& bytes) {
  UniqueHandle file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file.get() != INVALID_HANDLE_VALUE &&
      WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size())
    return {};
  return platform::Status::Failed(SystemMessage(GetLastError()));
}

bool Win32System::RenameFile(const std::string& from, const std::string& to) {
  const std::wstring target = Widen(to);
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);  // a hidden one would refuse
  return MoveFileExW(Widen(from).c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::string Win32System::AbsolutePath(const std::string& path) {
  const std::wstring relative = Widen(path);
  const DWORD size = GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(relative.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return Narrow(full);
}

void Win32System::DebugOutput(const std::string& text) {
  OutputDebugStringW(Widen(text).c_str());
}

std::string Win32System::LocalTimeText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
  return text;
}

}  // namespace win32
