#include "win32/peers/timer_peer.h"

#include "win32/base/window_class.h"

#include <stdexcept>

#include "ui/application.h"

namespace win32 {

namespace {

constexpr wchar_t kClass[] = L"InstallerTimer";
constexpr UINT_PTR kTimerId = 1;
// The first tick of an interval shorter than the system's shortest; its
// wParam is the arming it belongs to.
constexpr UINT kEarlyTick = WM_APP + 1;

}  // namespace

TimerPeer::TimerPeer(ui::Timer& timer, HINSTANCE instance) : timer_(timer), instance_(instance) {
  Follow();
}

TimerPeer::~TimerPeer() {
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

// Made when the timer first runs: most timers of the program wait for a
// page that most runs never show.
HWND TimerPeer::Window() {
  if (window_) return window_;
  RegisterWindowClass(instance_, {kClass, WindowProc});
  window_ =
      CreateWindowExW(0, kClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr);
  if (!window_) throw std::runtime_error("Fehler beim Erzeugen des Zeitgebers " + timer_.Name());
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return window_;
}

void TimerPeer::Update(ui::Change what) {
  if (what == ui::Change::Enabled || what == ui::Change::Interval) Follow();
}

// An interval of 0 stops the timer, as an enabled timer without interval never fires.
void TimerPeer::Follow() {
  ++arming_;
  if (timer_.Enabled() && timer_.Interval() > 0) {
    Arm();
  } else if (window_) {
    KillTimer(window_, kTimerId);
  }
}

// Windows stretches an interval below USER_TIMER_MINIMUM (10 ms) to that
// minimum, and the start-up timer of one millisecond then kept the first page
// waiting. Such a timer's first tick comes as soon as the message loop is free
// and the interval has passed; the system timer gives the later ones.
void TimerPeer::Arm() {
  armed_at_ = std::chrono::steady_clock::now();
  SetTimer(Window(), kTimerId, timer_.Interval(), nullptr);
  if (timer_.Interval() < USER_TIMER_MINIMUM) PostMessageW(window_, kEarlyTick, arming_, 0);
}

void TimerPeer::EarlyTick(WPARAM arming) {
  const auto interval = std::chrono::milliseconds(timer_.Interval());
  if (arming != arming_ || std::chrono::steady_clock::now() - armed_at_ < interval) return;
  // The next tick one interval from now.
  SetTimer(window_, kTimerId, timer_.Interval(), nullptr);
  Tick();
}

void TimerPeer::Tick() {
  timer_.Owner().App().Guard([&] { timer_.Tick(); });
}

LRESULT CALLBACK TimerPeer::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* peer = reinterpret_cast<TimerPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!peer) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_TIMER:
      peer->Tick();
      return 0;
    case kEarlyTick:
      peer->EarlyTick(wparam);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace win32
