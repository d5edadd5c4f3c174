#include "win32/peers/taskbar_button.h"

#include <shobjidl.h>

#include "win32/base/com.h"
#include "win32/base/dll_hardening.h"

namespace win32 {

namespace {

TBPFLAG FlagOf(ui::TaskbarState state) {
  switch (state) {
    case ui::TaskbarState::Normal:
      return TBPF_NORMAL;
    case ui::TaskbarState::Error:
      return TBPF_ERROR;
    default:
      return TBPF_NOPROGRESS;
  }
}

}  // namespace

// Made for each change: the progress changes once per package, and no
// interface is kept past the end of COM on the thread.
void ShowTaskbarProgress(HWND window, const ui::TaskbarProgress& progress) {
  const Com& com = ComFunctions();
  if (!com.Loaded()) return;
  ComScope scope(com);
  ComRef<ITaskbarList3> taskbar;
  if (FAILED(com.create_instance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_ITaskbarList3, reinterpret_cast<void**>(taskbar.Out()))) ||
      FAILED(taskbar->HrInit())) {
    return;
  }
  taskbar->SetProgressState(window, FlagOf(progress.state));
  if (progress.state != ui::TaskbarState::None) {
    taskbar->SetProgressValue(window, static_cast<ULONGLONG>(progress.percent), 100);
  }
}

UINT TaskbarButtonCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

// Looked up: Windows before 7 has no such filter, and a delayed import of it
// would fail there.
void AcceptTaskbarButtonCreated(HWND window) {
  using Filter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  const auto filter =
      FunctionOf<Filter>(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx");
  constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
  if (filter) filter(window, TaskbarButtonCreatedMessage(), kAllow, nullptr);
}

}  // namespace win32
