// How long the installer's detection takes against the real registry (under Wine): generated
// package keys in the component store, KB rules evaluated with the installer's own code
// through its Windows platform, the store read anew at each run as at each start of the
// program. The generated keys are removed again, and the store's key when this program made
// it. Prints one line per run: the whole time, the part that listed the store, and how many
// rules found their update installed.
//
//   detection_measure.exe [keys] [rules] [runs]      (default 2000 1000 5)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "release/detector.h"
#include "win32/system/win32_system.h"

namespace {

const wchar_t kStore[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";

std::wstring KeyName(int i) {
  return L"Package_for_KB" + std::to_wstring(5000000 + i) + L"~31bf3856ad364e35~amd64~~6.1.1.0";
}

bool StoreExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kStore, 0, KEY_READ | KEY_WOW64_64KEY, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// Every second key is installed (CurrentState 112), the others staged.
bool MakeKeys(int count) {
  for (int i = 0; i < count; ++i) {
    const std::wstring path = std::wstring(kStore) + L"\\" + KeyName(i);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const DWORD state = i % 2 == 0 ? 112 : 32;
    RegSetValueExW(key, L"CurrentState", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&state),
                   sizeof state);
    RegCloseKey(key);
  }
  return true;
}

void RemoveKeys(int count, bool store_existed) {
  for (int i = 0; i < count; ++i) {
    const std::wstring path = std::wstring(kStore) + L"\\" + KeyName(i);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), KEY_WOW64_64KEY, 0);
  }
  if (!store_existed) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kStore, KEY_WOW64_64KEY, 0);
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int keys = argc > 1 ? _wtoi(argv[1]) : 2000;
  const int rules = argc > 2 ? _wtoi(argv[2]) : 1000;
  const int runs = argc > 3 ? _wtoi(argv[3]) : 5;
  const bool store_existed = StoreExists();
  if (!MakeKeys(keys)) {
    std::fprintf(stderr, "the component store's keys can't be made\n");
    RemoveKeys(keys, store_existed);
    return 1;
  }
  // A rule for every second key: half of them installed, half staged.
  std::vector<std::string> texts;
  for (int n = 0; n < rules; ++n) texts.push_back("KB" + std::to_string(5000000 + n * 2 + n % 2));
  win32::Win32System system;
  std::printf("%d keys, %d rules\n", keys, rules);
  for (int run = 1; run <= runs; ++run) {
    LARGE_INTEGER start, listed, end;
    QueryPerformanceCounter(&start);
    release::Detector detector(system, release::OsIndex::Windows7);
    detector.Evaluate("KB1");  // no key is for it: the store is listed, no state read
    QueryPerformanceCounter(&listed);
    int installed = 0;
    for (const std::string& text : texts) {
      installed += detector.Evaluate(text).result == release::Finding::Result::Installed;
    }
    QueryPerformanceCounter(&end);
    std::printf("run %d: %.3f ms (the store listed in %.3f ms), %d installed\n", run,
                Milliseconds(start, end), Milliseconds(start, listed), installed);
  }
  RemoveKeys(keys, store_existed);
  return 0;
}
