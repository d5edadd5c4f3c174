// The worker whose jobs end on the main thread: one thread, made at the first job and kept
// until the program ends, runs the jobs one after the other. Each job posts its end to a hidden
// message window of the main thread, so whichever message loop runs there (a modal one too)
// hands the end over. One thread instead of one per job: under Wine each new thread costs
// milliseconds (its start in the server and in every loaded DLL).
#pragma once

#include <windows.h>

#include <functional>

namespace win32 {

class WorkerThreads {
 public:
  WorkerThreads() = default;
  ~WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // Call on the main thread, one job at a time: the next only after the end of the last.
  // `body` runs on the worker at the lowest priority when asked, its exceptions swallowed;
  // then `finished` runs on the main thread, unguarded. Throws std::runtime_error when the
  // worker can't be made.
  void Start(std::function<void()> body, bool low_priority, std::function<void()> finished);

  struct Channel;

 private:
  HWND window_ = nullptr;       // made on first use
  Channel* channel_ = nullptr;  // made with the worker; both live until the program ends
};

}  // namespace win32
