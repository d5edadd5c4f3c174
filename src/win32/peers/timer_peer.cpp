#include "win32/peers/timer_peer.h"

#include "win32/window_class.h"

#include <stdexcept>

#include "ui/application.h"

namespace win32 {

namespace {

constexpr wchar_t kClass[] = L"InstallerTimer";
constexpr UINT_PTR kTimerId = 1;

}  // namespace

TimerPeer::TimerPeer(ui::Timer& timer, HINSTANCE instance) : timer_(timer) {
  RegisterWindowClass(instance, {kClass, WindowProc});
  window_ =
      CreateWindowExW(0, kClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!window_) throw std::runtime_error("Fehler beim Erzeugen des Zeitgebers " + timer.Name());
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Follow();
}

TimerPeer::~TimerPeer() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void TimerPeer::Update(ui::Change what) {
  if (what == ui::Change::Enabled || what == ui::Change::Interval) Follow();
}

// An interval of 0 stops the timer, as an enabled timer without interval never fires.
void TimerPeer::Follow() {
  if (timer_.Enabled() && timer_.Interval() > 0) {
    SetTimer(window_, kTimerId, timer_.Interval(), nullptr);
  } else {
    KillTimer(window_, kTimerId);
  }
}

LRESULT CALLBACK TimerPeer::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* peer = reinterpret_cast<TimerPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message != WM_TIMER || !peer) return DefWindowProcW(window, message, wparam, lparam);
  ui::Timer& timer = peer->timer_;
  timer.Owner().App().Guard([&] { timer.Tick(); });
  return 0;
}

}  // namespace win32
