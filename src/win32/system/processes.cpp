// Starting a package's installer and waiting for it.
#include <windows.h>

#include "win32/base/system_message.h"
#include "win32/base/wide_text.h"
#include "win32/system/win32_system.h"

namespace win32 {

platform::ProcessResult Win32System::RunHiddenAndWait(const std::string& command_line,
                                                      const std::string& working_folder,
                                                      const std::function<void()>& meanwhile) {
  std::wstring command = Widen(command_line);  // CreateProcessW may write into it
  const std::wstring folder = Widen(working_folder);
  // Hidden: the package's parameters are expected to make it run unattended.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    return {false, 0, SystemMessage(GetLastError())};
  }
  CloseHandle(process.hThread);
  if (meanwhile) meanwhile();
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hProcess);
  return {true, exit_code, {}};
}

}  // namespace win32
