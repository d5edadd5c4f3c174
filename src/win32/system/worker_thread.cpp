#include "win32/system/worker_thread.h"

#include "win32/base/window_class.h"

#include <process.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "win32/base/system_message.h"

namespace win32 {

namespace {

constexpr UINT kJobEnded = WM_APP + 1;  // lparam: the Job
constexpr wchar_t kClass[] = L"InstallerWorkerEnd";

struct Job {
  std::function<void()> body;
  std::function<void()> finished;
};

LRESULT CALLBACK EndWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kJobEnded) return DefWindowProcW(window, message, wparam, lparam);
  const std::unique_ptr<Job> job(reinterpret_cast<Job*>(lparam));
  job->finished();
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

// What the main thread and the worker share. The worker waits for `wake`, takes the job and
// posts its end to `window`; when the window went with the program's end, nobody waits for
// the job any more. The worker is never stopped: it ends with the process, as a package that
// still installs then does, so the channel is never freed.
struct WorkerThreads::Channel {
  HWND window;
  HANDLE wake;  // auto-reset: a job is waiting
  HANDLE thread = nullptr;
  std::atomic<Job*> job{nullptr};
};

namespace {

unsigned __stdcall WorkerMain(void* context) {
  auto& channel = *static_cast<WorkerThreads::Channel*>(context);
  for (;;) {
    WaitForSingleObject(channel.wake, INFINITE);
    Job* job = channel.job.exchange(nullptr);
    try {
      job->body();
    } catch (...) {
      // The end is handed over either way; what failed stays here.
    }
    if (!PostMessageW(channel.window, kJobEnded, 0, reinterpret_cast<LPARAM>(job))) delete job;
  }
}

WorkerThreads::Channel* StartWorker(HWND window) {
  auto channel = std::make_unique<WorkerThreads::Channel>();
  channel->window = window;
  channel->wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!channel->wake) ThrowNoThread();
  const std::uintptr_t thread = _beginthreadex(nullptr, 0, WorkerMain, channel.get(), 0, nullptr);
  if (!thread) {
    CloseHandle(channel->wake);
    ThrowNoThread();
  }
  channel->thread = reinterpret_cast<HANDLE>(thread);
  return channel.release();
}

}  // namespace

WorkerThreads::~WorkerThreads() {
  if (window_) DestroyWindow(window_);
}

void WorkerThreads::Start(std::function<void()> body, bool low_priority,
                          std::function<void()> finished) {
  if (!window_) window_ = CreateEndWindow();
  if (!window_) ThrowNoThread();
  if (!channel_) channel_ = StartWorker(window_);
  // The worker waits for the next job here, so its priority can change for this one.
  SetThreadPriority(channel_->thread,
                    low_priority ? THREAD_PRIORITY_LOWEST : THREAD_PRIORITY_NORMAL);
  channel_->job.store(new Job{std::move(body), std::move(finished)});
  SetEvent(channel_->wake);
}

}  // namespace win32
