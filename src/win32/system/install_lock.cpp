// One installer at a time on the machine: packages change the whole
// machine, so the lock is a mutex in the global namespace, shared by every
// user and session. It is held until the process ends.
#include <windows.h>

#include "win32/system/win32_system.h"

namespace win32 {

namespace {

constexpr wchar_t kLockName[] = L"Global\\Installer.UpdatePackages.OneAtATime";

// Everyone may open the mutex, so that a second installer of another user
// can wait for it rather than fail to see it.
HANDLE CreateSharedMutex() {
  SECURITY_DESCRIPTOR descriptor;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  const bool open_to_all =
      InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
      SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
  HANDLE mutex = CreateMutexW(open_to_all ? &attributes : nullptr, FALSE, kLockName);
  // Before Windows 2000 there are no namespaces: the plain name serves.
  if (!mutex) mutex = CreateMutexW(nullptr, FALSE, kLockName + 7);
  return mutex;
}

}  // namespace

bool Win32System::AcquireInstallLock(int wait_ms) {
  static HANDLE mutex = CreateSharedMutex();
  if (!mutex) return true;  // no lock to be had: running beats refusing
  const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(wait_ms));
  // An abandoned mutex: the installer that held it ended without letting go.
  return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

}  // namespace win32
