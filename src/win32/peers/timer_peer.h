// A timer of a form, run by SetTimer on a hidden window of its own: when the
// timer goes, so does its window, and with it any WM_TIMER still queued.
#pragma once

#include <windows.h>

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
  void Follow();

  ui::Timer& timer_;
  HWND window_;
};

}  // namespace win32
