// COM for the program's few uses of it (pictures, the Task Scheduler): the
// functions of ole32.dll looked up from the system folder on first use,
// interfaces released at the end of their scope, and COM on the calling
// thread for the duration of one use.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace win32 {

struct Com {
  HRESULT(WINAPI* initialize)(LPVOID);
  void(WINAPI* uninitialize)();
  HRESULT(WINAPI* create_instance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

  bool Loaded() const { return initialize && uninitialize && create_instance; }
};

const Com& ComFunctions();

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (pointer_) pointer_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** Out() { return &pointer_; }
  T* operator->() const { return pointer_; }
  T* Get() const { return pointer_; }

 private:
  T* pointer_ = nullptr;
};

// COM for the duration of one use, unless the thread already has it.
class ComScope {
 public:
  explicit ComScope(const Com& com) : com_(com), initialized_(SUCCEEDED(com.initialize(nullptr))) {}
  ~ComScope() {
    if (initialized_) com_.uninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  const Com& com_;
  bool initialized_;
};

}  // namespace win32
