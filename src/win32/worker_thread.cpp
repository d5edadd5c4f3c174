#include "win32/worker_thread.h"

#include "win32/window_class.h"

#include <process.h>

#include <cstdint>
#include <memory>
#include <stdexcept>

#include "win32/system_message.h"

namespace win32 {

namespace {

constexpr UINT kWorkerEnded = WM_APP + 1;  // lparam: the Worker
constexpr wchar_t kClass[] = L"InstallerWorkerEnd";

struct Worker {
  std::function<void()> body;
  std::function<void()> finished;
  HWND window;
  HANDLE thread = nullptr;
};

unsigned __stdcall WorkerMain(void* context) {
  auto* worker = static_cast<Worker*>(context);
  try {
    worker->body();
  } catch (...) {
    // The end is handed over either way; what failed stays here.
  }
  if (!PostMessageW(worker->window, kWorkerEnded, 0, reinterpret_cast<LPARAM>(worker))) {
    // The window went with the program's end: nobody waits for this worker.
    CloseHandle(worker->thread);
    delete worker;
  }
  return 0;
}

LRESULT CALLBACK EndWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kWorkerEnded) return DefWindowProcW(window, message, wparam, lparam);
  const std::unique_ptr<Worker> worker(reinterpret_cast<Worker*>(lparam));
  CloseHandle(worker->thread);
  worker->finished();
  return 0;
}

HWND CreateEndWindow() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterWindowClass(instance, {kClass, EndWindowProc});
  return CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

[[noreturn]] void ThrowNoThread() {
  throw std::runtime_error("Fehler beim Erzeugen des Threads: " + SystemMessage(GetLastError()));
}

}  // namespace

WorkerThreads::~WorkerThreads() {
  if (window_) DestroyWindow(window_);
}

void WorkerThreads::Start(std::function<void()> body, bool low_priority,
                          std::function<void()> finished) {
  if (!window_) window_ = CreateEndWindow();
  if (!window_) ThrowNoThread();
  auto worker = std::make_unique<Worker>(Worker{std::move(body), std::move(finished), window_});
  const std::uintptr_t thread =
      _beginthreadex(nullptr, 0, WorkerMain, worker.get(), CREATE_SUSPENDED, nullptr);
  if (!thread) ThrowNoThread();
  worker->thread = reinterpret_cast<HANDLE>(thread);
  SetThreadPriority(worker->thread, low_priority ? THREAD_PRIORITY_LOWEST : THREAD_PRIORITY_NORMAL);
  ResumeThread(worker.release()->thread);  // the worker owns itself from here on
}

}  // namespace win32
