#include "driver_system.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <cwchar>
#include <set>

#include "driver_windows.h"

namespace driver {
namespace {

// The shell's notification to the tray icon's window: WM_USER + 0x400, wParam the icon's id.
constexpr UINT kTrayNotification = WM_USER + 0x400;
constexpr WPARAM kTrayIconId = 1;

struct ProcessSearch {
  const std::wstring* form;
  std::set<DWORD> processes;
};

BOOL CALLBACK CollectProcess(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<ProcessSearch*>(param);
  if (ClassOf(window) != *search.form) return TRUE;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  search.processes.insert(process);
  return TRUE;
}

// The processes that own a window of the class.
std::set<DWORD> ProcessesOwning(const std::wstring& form) {
  ProcessSearch search{&form, {}};
  EnumWindows(CollectProcess, reinterpret_cast<LPARAM>(&search));
  return search.processes;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double TimedRoundTrip(HWND window) {
  LARGE_INTEGER before{}, after{};
  QueryPerformanceCounter(&before);
  Ask(window, WM_NULL);
  QueryPerformanceCounter(&after);
  return Milliseconds(before, after);
}

}  // namespace

unsigned long Number(const std::wstring& text) {
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(text.c_str(), &end, 10);
  if (text.empty() || *end != L'\0') throw Failure{L"not a whole number: " + text};
  return value;
}

std::wstring Exists(const Args& args) {
  return FindForm(args[0], false) ? L"1" : L"0";
}

std::wstring Absent(const Args& args) {
  const ULONGLONG deadline = GetTickCount64() + Number(args[1]);
  while (GetTickCount64() < deadline) {
    if (FindForm(args[0], true)) throw Failure{args[0] + L" became visible"};
    Sleep(5);
  }
  return L"ok";
}

std::wstring Attributes(const Args& args) {
  const DWORD attributes = GetFileAttributesW(args[0].c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return L"missing";
  static const struct {
    DWORD flag;
    const wchar_t* name;
  } kNames[] = {{FILE_ATTRIBUTE_READONLY, L"readonly"},   {FILE_ATTRIBUTE_HIDDEN, L"hidden"},
                {FILE_ATTRIBUTE_SYSTEM, L"system"},       {FILE_ATTRIBUTE_DIRECTORY, L"directory"},
                {FILE_ATTRIBUTE_ARCHIVE, L"archive"},     {FILE_ATTRIBUTE_NORMAL, L"normal"},
                {FILE_ATTRIBUTE_TEMPORARY, L"temporary"}, {FILE_ATTRIBUTE_OFFLINE, L"offline"}};
  std::wstring names;
  DWORD named = 0;
  for (const auto& entry : kNames) {
    if (!(attributes & entry.flag)) continue;
    names += (names.empty() ? L"" : L"+") + std::wstring(entry.name);
    named |= entry.flag;
  }
  if (attributes & ~named) {
    wchar_t rest[16];
    std::swprintf(rest, 16, L"0x%lx", static_cast<unsigned long>(attributes & ~named));
    names += (names.empty() ? L"" : L"+") + std::wstring(rest);
  }
  return names;
}

std::wstring Terminate(const Args& args) {
  const std::set<DWORD> processes = ProcessesOwning(args[0]);
  for (const DWORD id : processes) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process) throw Failure{L"cannot open process " + std::to_wstring(id)};
    TerminateProcess(process, 1);
    const DWORD waited = WaitForSingleObject(process, 10000);
    CloseHandle(process);
    if (waited != WAIT_OBJECT_0) throw Failure{L"process " + std::to_wstring(id) + L" lives on"};
  }
  return std::to_wstring(processes.size());
}

std::wstring Memory(const Args& args) {
  const std::set<DWORD> processes = ProcessesOwning(args[0]);
  if (processes.size() != 1)
    throw Failure{std::to_wstring(processes.size()) + L" processes own a " + args[0]};
  const DWORD id = *processes.begin();
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
  if (!process) throw Failure{L"cannot open process " + std::to_wstring(id)};
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  const BOOL read = GetProcessMemoryInfo(
      process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  CloseHandle(process);
  if (!read) throw Failure{L"GetProcessMemoryInfo failed: " + std::to_wstring(GetLastError())};
  // PagefileUsage is the commit charge, the private bytes; Wine leaves PrivateUsage at 0 for
  // another process.
  std::wstring figures;
  for (const SIZE_T bytes : {counters.PeakWorkingSetSize, counters.WorkingSetSize,
                             counters.PagefileUsage, counters.PeakPagefileUsage})
    figures += (figures.empty() ? L"" : L" ") + std::to_wstring(bytes / 1024);
  return figures;
}

std::wstring TrayNotify(const Args& args) {
  const LPARAM mouse = args[0] == L"lbuttondblclk" ? WM_LBUTTONDBLCLK
                       : args[0] == L"rbuttondown" ? WM_RBUTTONDOWN
                                                   : 0;
  if (!mouse) throw Failure{L"unknown mouse message " + args[0]};
  if (!PostMessageW(RequireForm(L"TrayMessageWindow"), kTrayNotification, kTrayIconId, mouse))
    throw Failure{L"cannot post to the tray window"};
  return L"ok";
}

std::wstring RoundTrips(const Args& args) {
  HWND form = FindForm(args[0], true);
  if (!form) throw Failure{L"no visible " + args[0]};
  const unsigned long count = Number(args[1]);
  const DWORD gap = Number(args[2]);
  std::wstring samples;
  for (unsigned long i = 0; i < count; ++i) {
    wchar_t sample[32];
    std::swprintf(sample, 32, L"%.3f", TimedRoundTrip(form));
    samples += (samples.empty() ? L"" : L" ") + std::wstring(sample);
    Sleep(gap);
  }
  return samples;
}

std::wstring Unseen(const Args& args) {
  const DWORD timeout = Number(args[1]);
  // The name the station of LocalSystem's services has; made without WSF_VISIBLE.
  HWINSTA station = CreateWindowStationW(L"Service-0x0-3e7$", 0, WINSTA_ALL_ACCESS, nullptr);
  if (!station) throw Failure{L"no window station: error " + std::to_wstring(GetLastError())};
  HWINSTA own = GetProcessWindowStation();
  SetProcessWindowStation(station);
  HDESK desktop = CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  SetProcessWindowStation(own);
  if (!desktop) throw Failure{L"no desktop: error " + std::to_wstring(GetLastError())};
  std::wstring command_line = L"\"" + args[0] + L"\"";
  std::wstring desktop_name = L"Service-0x0-3e7$\\Default";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = desktop_name.data();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(args[0].c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    throw Failure{L"cannot start " + args[0] + L": error " + std::to_wstring(GetLastError())};
  }
  CloseHandle(process.hThread);
  const bool ended = WaitForSingleObject(process.hProcess, timeout) == WAIT_OBJECT_0;
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  CloseDesktop(desktop);
  CloseWindowStation(station);
  if (!ended) throw Failure{L"still running after " + args[1] + L" ms"};
  return std::to_wstring(code);
}

}  // namespace driver
