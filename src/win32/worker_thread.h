// Worker threads whose end is handled on the main thread. Each worker posts
// its end to a hidden message window of the main thread, so whichever message
// loop runs there (a modal one too) hands the end over.
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

  // Call on the main thread. `body` runs on a new thread, its exceptions
  // swallowed; then `finished` runs on the main thread, unguarded. Throws
  // std::runtime_error when no thread can be made.
  void Start(std::function<void()> body, bool low_priority, std::function<void()> finished);

 private:
  HWND window_ = nullptr;  // made on first use
};

}  // namespace win32
