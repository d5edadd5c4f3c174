#include "driver_windows.h"

#include <cwchar>

namespace driver {
namespace {

struct FormSearch {
  const std::wstring* form;
  DWORD process;
  HWND visible = nullptr;
  HWND hidden = nullptr;
};

BOOL CALLBACK ConsiderForm(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<FormSearch*>(param);
  if (ClassOf(window) != *search.form) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (search.process && owner != search.process) return TRUE;
  if (IsWindowVisible(window)) {
    search.visible = window;
    return FALSE;
  }
  if (!search.hidden) search.hidden = window;
  return TRUE;
}

}  // namespace

std::wstring ControlNameOf(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(window, L"ControlName")));
  if (!atom) return {};
  wchar_t name[256] = {};
  const UINT length = GlobalGetAtomNameW(atom, name, 256);
  return std::wstring(name, length);
}

namespace {

struct ControlSearch {
  const std::wstring* name;
  HWND found = nullptr;
};

BOOL CALLBACK ConsiderControl(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<ControlSearch*>(param);
  if (ControlNameOf(window) != *search.name) return TRUE;
  search.found = window;
  return FALSE;
}

HWND DialogItem(HWND form, const std::wstring& control) {
  wchar_t* end = nullptr;
  const long id = std::wcstol(control.c_str() + 1, &end, 10);
  if (control.size() < 2 || *end != L'\0') throw Failure{L"bad dialog item " + control};
  return GetDlgItem(form, static_cast<int>(id));
}

}  // namespace

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

LRESULT Ask(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                           &result)) {
    throw Failure{L"the window of class " + ClassOf(window) + L" does not answer"};
  }
  return static_cast<LRESULT>(result);
}

namespace {

// A lambda would not do: a 32-bit callback must be __stdcall.
BOOL CALLBACK CollectVisibleControl(HWND window, LPARAM found) {
  if (IsWindowVisible(window) && !ControlNameOf(window).empty()) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> VisibleControls(HWND form) {
  std::vector<HWND> controls;
  EnumChildWindows(form, CollectVisibleControl, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

RemoteMemory::RemoteMemory(HWND window, SIZE_T size) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  process_ =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
  if (!process_) throw Failure{L"the window's process can't be opened"};
  remote_ = static_cast<BYTE*>(
      VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote_) {
    CloseHandle(process_);
    throw Failure{L"no memory in the window's process"};
  }
}

RemoteMemory::~RemoteMemory() {
  VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  CloseHandle(process_);
}

void RemoteMemory::Write(const void* data, SIZE_T size, SIZE_T offset) {
  if (!WriteProcessMemory(process_, remote_ + offset, data, size, nullptr))
    throw Failure{L"the window's process can't be written"};
}

void RemoteMemory::Read(void* data, SIZE_T size, SIZE_T offset) const {
  if (!ReadProcessMemory(process_, remote_ + offset, data, size, nullptr))
    throw Failure{L"the window's process can't be read"};
}

std::wstring WindowText(HWND window) {
  // WM_GETTEXT rather than GetWindowText, which never asks a window of another process.
  const LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got));
  return text;
}

HWND FindForm(const std::wstring& form, bool visible_only, DWORD process) {
  FormSearch search{&form, process};
  EnumWindows(ConsiderForm, reinterpret_cast<LPARAM>(&search));
  if (search.visible || visible_only) return search.visible;
  return search.hidden;
}

HWND RequireForm(const std::wstring& form) {
  HWND window = FindForm(form, false);
  if (!window) throw Failure{L"no window of class " + form};
  return window;
}

HWND RequireControl(HWND form, const std::wstring& control) {
  HWND found = nullptr;
  if (!control.empty() && control[0] == L'#') {
    found = DialogItem(form, control);
  } else {
    ControlSearch search{&control};
    EnumChildWindows(form, ConsiderControl, reinterpret_cast<LPARAM>(&search));
    found = search.found;
  }
  if (!found) throw Failure{L"no control " + control + L" in " + ClassOf(form)};
  return found;
}

void WaitForForm(const std::wstring& form, bool present, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while ((FindForm(form, true) != nullptr) != present) {
    if (GetTickCount64() >= deadline) {
      throw Failure{(present ? L"no visible " : L"still a visible ") + form + L" after " +
                    std::to_wstring(timeout_ms) + L" ms"};
    }
    Sleep(10);
  }
}

}  // namespace driver
