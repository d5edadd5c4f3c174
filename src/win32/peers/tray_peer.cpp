#include "win32/peers/tray_peer.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <iterator>
#include <string>
#include <utility>

#include "tray/tray_icon.h"
#include "ui/application.h"
#include "win32/base/dll_hardening.h"
#include "win32/base/wide_text.h"
#include "win32/base/window_class.h"
#include "win32/pictures/win32_picture.h"

namespace win32 {

namespace {

constexpr UINT kIconId = 1;
constexpr UINT kNotifyMessage = WM_USER + 0x400;
constexpr DWORD kMessageFilterAdd = 1;  // MSGFLT_ADD

// An elevated program hears the unelevated taskbar's broadcast only when it
// lets it through; the filter exists from Vista on.
void AllowFromLowerIntegrity(UINT message) {
  using Filter = BOOL(WINAPI*)(UINT, DWORD);
  const FARPROC proc = GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilter");
  const auto filter = reinterpret_cast<Filter>(reinterpret_cast<void (*)()>(proc));
  if (filter) filter(message, kMessageFilterAdd);
}

// Registered once per program.
UINT TaskbarCreatedMessage() {
  static const UINT message = [] {
    const UINT registered = RegisterWindowMessageW(L"TaskbarCreated");
    AllowFromLowerIntegrity(registered);
    return registered;
  }();
  return message;
}

tray::TrayMouse MouseMessage(LPARAM lparam) {
  switch (LOWORD(lparam)) {
    case WM_MOUSEMOVE:
      return tray::TrayMouse::Move;
    case WM_LBUTTONDOWN:
      return tray::TrayMouse::LeftDown;
    case WM_LBUTTONUP:
      return tray::TrayMouse::LeftUp;
    case WM_LBUTTONDBLCLK:
      return tray::TrayMouse::LeftDoubleClick;
    case WM_RBUTTONDOWN:
      return tray::TrayMouse::RightDown;
    case WM_RBUTTONUP:
      return tray::TrayMouse::RightUp;
    case WM_MBUTTONDOWN:
      return tray::TrayMouse::MiddleDown;
    case WM_MBUTTONUP:
      return tray::TrayMouse::MiddleUp;
    default:
      return tray::TrayMouse::Other;
  }
}

// The window never objects to the end of a session nor goes away on request.
bool AnsweredWithOne(UINT message) {
  switch (message) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED:
    case WM_NCDESTROY:
      return true;
    default:
      return false;
  }
}

DWORD ShellCommand(tray::TrayCommand command) {
  switch (command) {
    case tray::TrayCommand::Add:
      return NIM_ADD;
    case tray::TrayCommand::Delete:
      return NIM_DELETE;
    case tray::TrayCommand::Modify:
      break;
  }
  return NIM_MODIFY;
}

HICON IconOf(const tray::PicturePtr& picture) {
  const auto* drawable = dynamic_cast<const Win32Picture*>(picture.get());
  return drawable ? drawable->Icon() : nullptr;
}

struct ClassSearch {
  std::wstring class_name;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<ClassSearch*>(param);
  wchar_t name[256];
  if (GetClassNameW(window, name, 256) == 0 || search.class_name != name) return TRUE;
  search.found = window;
  return FALSE;
}

// The owner form's window: the thread's top-level window registered under
// the form's name.
HWND FindFormWindow(const std::string& form_name) {
  ClassSearch search{Widen(form_name), nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Lets the menu open on an up-to-date screen, as a framework's
// ProcessMessages does; a quit request stays queued for the main loop.
void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

constexpr wchar_t kTrayWindowClass[] = L"TrayMessageWindow";

class Win32TrayPeer : public tray::TrayPeer {
 public:
  explicit Win32TrayPeer(tray::TCoolTrayIcon& tray);
  ~Win32TrayPeer() override {
    if (window_) DestroyWindow(window_);
  }

  bool Notify(tray::TrayCommand command) override;
  void ShowMenu(ui::PopupMenu& menu) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND Window();
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  template <typename Action>
  void Guarded(Action&& action) {
    tray_.Owner().App().Guard(std::forward<Action>(action));
  }

  tray::TCoolTrayIcon& tray_;
  HWND window_ = nullptr;
};

Win32TrayPeer::Win32TrayPeer(tray::TCoolTrayIcon& tray) : tray_(tray) {
  tray_.SingleClickTimer.SetInterval(GetDoubleClickTime());
  if (tray_.IconVisible()) Notify(tray::TrayCommand::Add);
}

// Made with the first icon: until then there is nothing to hear about, and
// most runs never show the icon.
HWND Win32TrayPeer::Window() {
  if (window_) return window_;
  TaskbarCreatedMessage();
  // Top-level, not message-only: only top-level windows get the broadcast.
  RegisterWindowClass(GetModuleHandleW(nullptr), {kTrayWindowClass, &WindowProc});
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
  return window_;
}

// shell32.dll comes with the first icon shown. The shell refuses to modify an icon that it
// does not show, so it is not asked: each question is a round trip to the taskbar's process,
// and an installation in the foreground changes the hidden icon at every package.
bool Win32TrayPeer::Notify(tray::TrayCommand command) {
  if (command == tray::TrayCommand::Modify && !tray_.IconVisible()) return false;
  using NotifyFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
  static const auto notify = SystemFunction<NotifyFunction>(L"shell32.dll", "Shell_NotifyIconW");
  if (!notify) return false;
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = Window();
  data.uID = kIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kNotifyMessage;
  data.hIcon = IconOf(tray_.Picture());
  Widen(tray_.Tip()).copy(data.szTip, std::size(data.szTip) - 1);
  return notify(ShellCommand(command), &data) != FALSE;
}

void Win32TrayPeer::ShowMenu(ui::PopupMenu& menu) {
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;
  ProcessPendingMessages();
  // With a window of the program in front the menu closes when the user
  // clicks elsewhere: the owner form's, or this one while the form has none.
  const HWND owner = FindFormWindow(tray_.Owner().Name());
  const HWND front = owner ? owner : Window();
  SetForegroundWindow(Window());
  if (owner) SetForegroundWindow(owner);
  menu.Popup({cursor.x, cursor.y});
  PostMessageW(front, WM_NULL, 0, 0);
}

LRESULT CALLBACK Win32TrayPeer::WindowProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* peer = reinterpret_cast<Win32TrayPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (peer && message != WM_NCCREATE) return peer->HandleMessage(window, message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT Win32TrayPeer::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kNotifyMessage) {
    Guarded([&] { tray_.MouseNotification(MouseMessage(lparam)); });
    return 0;
  }
  if (message == TaskbarCreatedMessage()) {
    Guarded([&] { tray_.TaskbarCreated(); });
    return 0;
  }
  if (AnsweredWithOne(message)) return 1;
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

std::unique_ptr<ui::Peer> CreateTrayPeer(tray::TCoolTrayIcon& tray) {
  return std::make_unique<Win32TrayPeer>(tray);
}

}  // namespace win32
