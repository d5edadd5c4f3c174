// Handing things to other programs without waiting for them: a web address
// to the shell, a file to Notepad.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <vector>

#include "win32/base/dll_hardening.h"
#include "win32/base/wide_text.h"
#include "win32/system/win32_system.h"

namespace win32 {

// shell32.dll comes with the first use: it is slow to load and most runs need none of it.
// The clicked dialog owns what the shell shows (an error, a choice of program), so that it
// cannot appear behind the topmost About dialog.
void Win32System::OpenLink(const std::string& address) {
  using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  static const auto execute = SystemFunction<ShellExecuteFunction>(L"shell32.dll", "ShellExecuteW");
  if (execute)
    execute(GetActiveWindow(), L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOW);
}

void Win32System::StartProgram(const std::string& application, const std::string& command_line) {
  STARTUPINFOW startup{};
  GetStartupInfoW(&startup);
  std::wstring line = Widen(command_line);
  std::vector<wchar_t> buffer(line.begin(), line.end());
  buffer.push_back(L'\0');
  PROCESS_INFORMATION process{};
  if (CreateProcessW(Widen(application).c_str(), buffer.data(), nullptr, nullptr, TRUE,
                     CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace win32
