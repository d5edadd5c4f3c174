// The floor of the sequence benchmark: starts the programs listed in a file one after another,
// each as the installer starts a package (hidden, new console, its own folder as working
// folder, a blank after the quoted path) and waits for each to end. Nothing else.
//
//   process_loop.exe <list file> [thread]
//
// The list holds one full program path per line, UTF-8. With "thread" each program is started
// and waited for on a thread of its own, as the installer's sequence does with its packages.
//
// Prints "<milliseconds for the whole loop> <programs started> <starts that failed>".
#include <windows.h>

#include <process.h>

#include <cstdio>
#include <string>
#include <vector>

#include "win32/base/wide_text.h"

namespace {

std::vector<std::wstring> ReadLines(const std::wstring& path) {
  std::vector<std::wstring> lines;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content.append(buffer, got);
  CloseHandle(file);
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(win32::Widen(line));
    start = end + 1;
  }
  return lines;
}

bool RunHiddenAndWait(const std::wstring& program) {
  std::wstring command = L"\"" + program + L"\" ";
  const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, folder.c_str(), &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  return true;
}

unsigned __stdcall ProgramThread(void* program) {
  return RunHiddenAndWait(*static_cast<const std::wstring*>(program)) ? 0 : 1;
}

bool RunOnOwnThread(const std::wstring& program) {
  const auto thread = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, ProgramThread, const_cast<std::wstring*>(&program), 0, nullptr));
  if (!thread) return false;
  WaitForSingleObject(thread, INFINITE);
  DWORD result = 1;
  GetExitCodeThread(thread, &result);
  CloseHandle(thread);
  return result == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool threads = argc == 3 && std::wstring(argv[2]) == L"thread";
  if (argc != 2 && !threads) {
    std::fputs("usage: process_loop.exe <list file> [thread]\n", stderr);
    return 2;
  }
  const std::vector<std::wstring> programs = ReadLines(argv[1]);
  if (programs.empty()) {
    std::fputs("process_loop: no programs listed\n", stderr);
    return 2;
  }
  LARGE_INTEGER frequency{}, start{}, end{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  int failed = 0;
  for (const std::wstring& program : programs)
    failed += (threads ? RunOnOwnThread(program) : RunHiddenAndWait(program)) ? 0 : 1;
  QueryPerformanceCounter(&end);
  const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart);
  std::printf("%.1f %zu %d\n", ms, programs.size(), failed);
  return 0;
}
