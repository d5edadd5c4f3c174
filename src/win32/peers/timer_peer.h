// A timer of a form, run by SetTimer on a hidden window of its own, made
// when the timer first runs: when the timer goes, so does its window, and
// with it any WM_TIMER still queued.
#pragma once

#include <windows.h>

#include <chrono>

#include "ui/timer.h"

namespace win32 {

class TimerPeer : public ui::Peer {
 public:
  TimerPeer(ui::Timer& timer, HINSTANCE instance);
  ~TimerPeer() override;
  TimerPeer(const TimerPeer&) = delete;
  TimerPeer& operator=(const TimerPeer&) = delete;

  void Update(ui::Change what) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND Window();
  void Follow();
  void Arm();
  void EarlyTick(WPARAM arming);
  void Tick();

  ui::Timer& timer_;
  HINSTANCE instance_;
  HWND window_ = nullptr;
  WPARAM arming_ = 0;  // counts the changes, so that a stale early tick is known
  std::chrono::steady_clock::time_point armed_at_;
};

}  // namespace win32
