// The continuation at the next system start: the task of the Task Scheduler
// 2.0 (Windows Vista and later, through COM) that starts the program then.
#include <windows.h>

#include <taskschd.h>

#include <cstdio>

#include "win32/base/com.h"
#include "win32/base/dll_hardening.h"
#include "win32/base/handles.h"
#include "win32/base/system_message.h"
#include "win32/base/wide_text.h"
#include "win32/portable/boot_task_xml.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

// A BSTR of the text, freed at the end of its scope; oleaut32.dll is loaded
// from the system folder on first use. Null when it can't be made, which
// the Task Scheduler refuses as an invalid argument.
class Bstr {
 public:
  explicit Bstr(const std::string& text)
      : text_(Oleaut().allocate ? Oleaut().allocate(Widen(text).c_str()) : nullptr) {}
  ~Bstr() {
    if (text_) Oleaut().free(text_);
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return text_; }

 private:
  struct Functions {
    BSTR(WINAPI* allocate)(const OLECHAR*);
    void(WINAPI* free)(BSTR);
  };
  static const Functions& Oleaut() {
    static const Functions functions{
        SystemFunction<decltype(Functions::allocate)>(L"oleaut32.dll", "SysAllocString"),
        SystemFunction<decltype(Functions::free)>(L"oleaut32.dll", "SysFreeString")};
    return functions;
  }

  BSTR text_;
};

// The system's text for a failure, with the code that administrators look up.
std::string Reason(HRESULT result) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
  return SystemMessage(static_cast<DWORD>(result)) + " (" + code + ")";
}

HRESULT OpenRootFolder(const Com& com, ComRef<ITaskFolder>& root) {
  ComRef<ITaskService> service;
  HRESULT result = com.create_instance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_ITaskService, reinterpret_cast<void**>(service.Out()));
  const VARIANT none{};  // VT_EMPTY: this machine, the process's own account
  if (SUCCEEDED(result)) result = service->Connect(none, none, none, none);
  const Bstr path("\\");
  if (SUCCEEDED(result)) result = service->GetFolder(path.Get(), root.Out());
  return result;
}

// Calls `use` with the Task Scheduler's root folder; COM is held meanwhile.
// Without the Task Scheduler 2.0 (Windows XP) the class is not registered.
template <typename Use>
HRESULT WithRootFolder(Use use) {
  const Com& com = ComFunctions();
  if (!com.Loaded()) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  ComScope scope(com);
  ComRef<ITaskFolder> root;
  const HRESULT result = OpenRootFolder(com, root);
  return FAILED(result) ? result : use(root.Get());
}

}  // namespace

// The definition's principal names the account, LocalSystem, which needs no
// password; TASK_CREATE_OR_UPDATE replaces the task of an earlier hand-over.
platform::Status Win32System::RegisterBootTask(const std::string& name, const std::string& program,
                                               const std::string& arguments) {
  const HRESULT result = WithRootFolder([&](ITaskFolder* root) {
    const Bstr path(name);
    const Bstr xml(BootTaskXml(program, arguments));
    const VARIANT none{};
    ComRef<IRegisteredTask> task;
    return root->RegisterTask(path.Get(), xml.Get(), TASK_CREATE_OR_UPDATE, none, none,
                              TASK_LOGON_SERVICE_ACCOUNT, none, task.Out());
  });
  if (SUCCEEDED(result)) return {};
  return platform::Status::Failed(Reason(result));
}

void Win32System::DeleteBootTask(const std::string& name) {
  WithRootFolder([&](ITaskFolder* root) {
    const Bstr path(name);
    return root->DeleteTask(path.Get(), 0);
  });
}

}  // namespace win32
