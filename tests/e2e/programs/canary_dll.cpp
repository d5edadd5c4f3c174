// A canary for the DLL-planting tests: copied beside a program under the name of a system DLL
// (version.dll, comctl32.dll, ...), it records every load into a process in
// "canary-journal.txt" in its own folder, one UTF-8 line per load:
//   <own path> TAB <path of the process's program>
// and does nothing else. It has no exports, so a program that really used it would fail.
//
// Built without the C runtime and with KERNEL32 as its only import: planted as msvcrt.dll it
// must not need msvcrt.dll itself.
#include <windows.h>

namespace {

constexpr DWORD kPathCapacity = 1024;

// Outside the stack, which has no probe routine to grow it by more than a page at once. The
// loader calls DllMain for one DLL at a time, so nothing else uses them meanwhile.
wchar_t own[kPathCapacity];
wchar_t program[kPathCapacity];
wchar_t journal[kPathCapacity + 32];
char line[3 * 2 * kPathCapacity + 4];

// Appends `text` as UTF-8; returns the number of bytes written into `out`.
DWORD AppendUtf8(const wchar_t* text, DWORD length, char* out, DWORD capacity) {
  const int written = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out,
                                          static_cast<int>(capacity), nullptr, nullptr);
  return written > 0 ? static_cast<DWORD>(written) : 0;
}

void RecordLoad(HINSTANCE self) {
  const DWORD own_length = GetModuleFileNameW(self, own, kPathCapacity);
  if (own_length == 0 || own_length >= kPathCapacity) return;
  DWORD program_length = GetModuleFileNameW(nullptr, program, kPathCapacity);
  if (program_length >= kPathCapacity) program_length = 0;

  // The journal beside the DLL: cut the path after its last backslash.
  DWORD folder_length = 0;
  for (DWORD i = 0; i < own_length; ++i) {
    journal[i] = own[i];
    if (own[i] == L'\\') folder_length = i + 1;
  }
  const wchar_t name[] = L"canary-journal.txt";
  for (DWORD i = 0; i < sizeof name / sizeof name[0]; ++i) journal[folder_length + i] = name[i];

  DWORD size = AppendUtf8(own, own_length, line, sizeof line - 2);
  line[size++] = '\t';
  size += AppendUtf8(program, program_length, line + size, sizeof line - 1 - size);
  line[size++] = '\n';

  // Several processes may load canaries at once: each line goes out in one appending write.
  HANDLE file = CreateFileW(journal, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, size, &written, nullptr);
  CloseHandle(file);
}

}  // namespace

// The entry point itself: no C runtime runs before or around it.
extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) RecordLoad(self);
  return TRUE;
}
