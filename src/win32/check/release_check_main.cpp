// release-check.exe, the console program of the release checker: arguments
// in UTF-16, so that any path arrives whole; findings written to a console
// in UTF-16, to a file or pipe in UTF-8 with CR LF line ends.
#include <windows.h>

#include "check/command.h"
#include "win32/base/wide_text.h"
#include "win32/check/build_files.h"
#include "win32/check/check_files.h"

namespace {

void Write(DWORD which, const std::string& text) {
  if (text.empty()) return;
  HANDLE handle = GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD mode, done;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = win32::Widen(text);
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr);
    return;
  }
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 40);
  for (const char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(win32::Narrow(argv[i]));
  win32::WindowsBuildFiles build;
  const check::CommandResult result = check::RunCommand(args, win32::OpenCheckFolder, &build);
  Write(STD_OUTPUT_HANDLE, result.out);
  Write(STD_ERROR_HANDLE, result.err);
  return result.exit_code;
}
