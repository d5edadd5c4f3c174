#include "win32/peers/form_peer.h"

#include <stdexcept>
#include <utility>

#include "ui/layout.h"
#include "win32/base/monitor_dpi.h"
#include "win32/base/wide_text.h"
#include "win32/base/window_class.h"
#include "win32/peers/peer_factory.h"
#include "win32/peers/taskbar_button.h"

namespace win32 {

namespace {

struct FrameStyle {
  DWORD style;
  DWORD ex_style;
};

FrameStyle DesignFrame(const ui::FormStyle& form) {
  const DWORD boxes =
      (form.minimize_box ? WS_MINIMIZEBOX : 0) | (form.maximize_box ? WS_MAXIMIZEBOX : 0);
  const DWORD common =
      WS_CAPTION | (form.system_menu ? WS_SYSMENU : 0) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  const DWORD on_top = form.stay_on_top ? WS_EX_TOPMOST : 0;
  switch (form.border) {
    case ui::BorderStyle::Dialog:
      return {common, WS_EX_DLGMODALFRAME | on_top};
    case ui::BorderStyle::Sizeable:
      return {common | WS_THICKFRAME | boxes, on_top};
    default:
      return {common | boxes, on_top};
  }
}

// A form with a taskbar button of its own has exactly WS_EX_APPWINDOW.
FrameStyle FrameOf(const ui::Form& form) {
  FrameStyle frame = DesignFrame(form.Style());
  if (form.AppWindow()) frame.ex_style = WS_EX_APPWINDOW;
  if (!form.Enabled()) frame.style |= WS_DISABLED;
  return frame;
}

constexpr wchar_t kMainIcon[] = L"MAINICON";

// Every form scales from 96 dpi to the screen's resolution at first, as its
// fonts do, and to its monitor's once it knows it.
DpiScale FormScale(const PeerContext& context) {
  return DpiScale(context.screen_dpi);
}

// Windows 10 1607 scales the frame of a window to its monitor only when asked
// while the window is made.
LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) ScaleNonClientArea(window);
  return WindowPeer::ClassProcedure(window, message, wparam, lparam);
}

ui::Point ToPixels(ui::Point size, const DpiScale& scale) {
  return {scale.ToPixels(size.x), scale.ToPixels(size.y)};
}

// The frame is drawn at the window's resolution, which may lag behind the
// form's scale (Wine draws every frame at the screen's).
ui::Point Outer(ui::Point client, DWORD style, DWORD ex_style, int frame_dpi) {
  RECT frame{0, 0, client.x, client.y};
  AddFrame(frame, style, ex_style, frame_dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// Before the window exists: the designed client size in the frame it will get.
ui::Point DesignOuterSize(const ui::Form& form, const DpiScale& scale) {
  const FrameStyle frame = FrameOf(form);
  return Outer(ToPixels(ui::DesignClientSize(form), scale), frame.style, frame.ex_style,
               ScreenDpi());
}

// Where a maximised window returns to, in screen coordinates: the placement
// gives it in workspace coordinates, which begin at the work area.
RECT RestoredFrame(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT frame = placement.rcNormalPosition;
  OffsetRect(&frame, monitor.rcWork.left - monitor.rcMonitor.left,
             monitor.rcWork.top - monitor.rcMonitor.top);
  return frame;
}

}  // namespace

FormPeer::FormPeer(ui::Form& form, PeerContext& context, HWND owner)
    : ContainerPeer(form, context, FormScale(context)), form_(form), owner_(owner) {}

FormPeer::~FormPeer() {
  if (Handle() && Context().active_form == Handle()) Context().active_form = nullptr;
}

void FormPeer::Update(ui::Change what) {
  if (!Handle() && what == ui::Change::Visible && form_.Visible()) {
    CreateWindows();
  } else {
    ContainerPeer::Update(what);
  }
}

void FormPeer::CreateWindows() {
  if (Handle()) return;
  const HINSTANCE instance = Context().instance;
  const std::wstring class_name = Widen(form_.Name());
  RegisterWindowClass(instance,
                      {class_name.c_str(), FormProcedure, 0, LoadIconW(instance, kMainIcon),
                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
  const FrameStyle frame = FrameOf(form_);
  client_size_ = ui::DesignClientSize(form_);
  const ui::Point outer = DesignOuterSize(form_, Scale());
  HWND window = CreateWindowExW(frame.ex_style, class_name.c_str(), Widen(form_.Caption()).c_str(),
                                frame.style, form_.Left(), form_.Top(), outer.x, outer.y, owner_,
                                nullptr, instance, nullptr);
  if (!window) throw std::runtime_error("Fehler beim Erzeugen des Fensters " + form_.Name());
  Adopt(window);
  AcceptTaskbarButtonCreated(window);
  Arrange(client_size_);  // the children are made at their places
  for (ui::Control* child : form_.TabOrder()) RealizeControl(*child, *this);
  Realized();
}

ui::Point FormPeer::OuterSize() const {
  if (!Handle()) return DesignOuterSize(form_, Scale());
  const int window_dpi = WindowDpi(Handle());
  return Outer(ToPixels(client_size_, Scale()),
               static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)),
               static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)),
               window_dpi ? window_dpi : ScreenDpi());
}

ui::Point FormPeer::OuterSizeOf(const ui::Form& form, const PeerContext& context) {
  if (auto* peer = static_cast<const FormPeer*>(form.GetPeer())) return peer->OuterSize();
  return DesignOuterSize(form, FormScale(context));
}

// The window comes to the front when the form is shown, which follows.
void FormPeer::Realized() {
  ApplyAppWindow();
  Arrange(client_size_);
  if (form_.Visible()) Apply(ui::Change::Visible);
}

void FormPeer::ApplyAppWindow() {
  if (!form_.AppWindow()) return;
  const ui::Point before = OuterSize();
  // Exactly this style, replacing the others: a taskbar button of its own.
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, WS_EX_APPWINDOW);
  // The frame may have changed with the style (not for a window made with
  // it); the client area stays as designed.
  const ui::Point outer = OuterSize();
  if (outer.x == before.x && outer.y == before.y) return;
  SetWindowPos(Handle(), nullptr, 0, 0, outer.x, outer.y,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The user may have resized a sizeable form; a new position alone keeps that size.
void FormPeer::MoveToBounds() {
  const ui::Point designed = ui::DesignClientSize(form_);
  const bool resized = designed.x != client_size_.x || designed.y != client_size_.y;
  client_size_ = designed;
  const ui::Point outer = OuterSize();
  SetWindowPos(Handle(), nullptr, form_.Left(), form_.Top(), outer.x, outer.y,
               SWP_NOZORDER | SWP_NOACTIVATE | (resized ? 0 : SWP_NOSIZE));
  if (resized) Arrange(client_size_);
}

void FormPeer::Apply(ui::Change what) {
  switch (what) {
    case ui::Change::Bounds:
      MoveToBounds();
      break;
    case ui::Change::Visible:
      // A modal form that ends gives the input back first, so that the
      // activation returns to the windows it disabled.
      if (!form_.Visible() && Context().modal.form == Handle()) Context().modal.others->Restore();
      if (form_.Visible()) FollowWindowDpi();
      ShowWindow(Handle(), form_.Visible() ? SW_SHOW : SW_HIDE);
      break;
    case ui::Change::Front:
      SetForegroundWindow(Handle());
      BringWindowToTop(Handle());
      break;
    case ui::Change::Style:
      ApplyAppWindow();
      break;
    case ui::Change::TaskbarProgress:
      ShowTaskbarProgress(Handle(), form_.Progress());
      break;
    default:
      ContainerPeer::Apply(what);
      break;
  }
}

bool FormPeer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  // A progress set before the button existed is shown now.
  if (message == TaskbarButtonCreatedMessage()) {
    if (form_.Progress().state != ui::TaskbarState::None) {
      ShowTaskbarProgress(Handle(), form_.Progress());
    }
    return true;
  }
  switch (message) {
    case WM_CLOSE:
      Guard([&] { form_.Close(); });
      return true;
    case WM_QUERYENDSESSION:
      result = TRUE;  // the application's window answers for the whole program
      return true;
    case WM_MOVE:
      if (!IsIconic(Handle())) ReportPosition();
      return false;
    case WM_SIZE:
      if (form_.Style().border == ui::BorderStyle::Sizeable && wparam != SIZE_MINIMIZED) {
        Arrange(Scale().ToUnits(LOWORD(lparam), HIWORD(lparam)));
      }
      return false;
    case WM_ACTIVATE:
      Activated(LOWORD(wparam) != WA_INACTIVE);
      return true;
    case kDpiChangedMessage:
      ChangeDpi(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return true;
    case WM_COMMAND:
      if (HandleDialogKey(wparam, lparam)) return true;
      return ContainerPeer::HandleMessage(message, wparam, lparam, result);
    default:
      return ContainerPeer::HandleMessage(message, wparam, lparam, result);
  }
}

void FormPeer::ChangeScale(const DpiScale& scale) {
  if (auto* measured = dynamic_cast<MeasuredLayout*>(&form_)) measured->MeasureAt(scale);
  ContainerPeer::ChangeScale(scale);
}

// Windows suggests where the window goes at the new resolution. A form of a
// fixed size takes the place and keeps its designed client area, in the frame
// it has there; one the user sizes takes the suggested size, and its controls
// follow it. Pictures are drawn anew at their new sizes.
void FormPeer::ChangeDpi(int dpi, const RECT& suggested) {
  ChangeScale(DpiScale(dpi));
  client_size_ = ui::DesignClientSize(form_);
  const bool sizeable = form_.Style().border == ui::BorderStyle::Sizeable;
  const ui::Point outer =
      sizeable ? ui::Point{suggested.right - suggested.left, suggested.bottom - suggested.top}
               : OuterSize();
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, outer.x, outer.y,
               SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT client = ClientRect();
  Arrange(sizeable ? Scale().ToUnits(client.right, client.bottom) : client_size_);
  ShowIconsAt(dpi);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Windows tells a window of its monitor's resolution only when that changes:
// one made on a monitor of another resolution than the screen's, or moved
// there while hidden, learns it when it is shown.
void FormPeer::FollowWindowDpi() {
  const int dpi = WindowDpi(Handle());
  if (dpi == 0 || dpi == Scale().Dpi()) return;
  RECT frame;
  GetWindowRect(Handle(), &frame);
  ChangeDpi(dpi, frame);
}

// The class's icon has the screen's size; the title bar and the taskbar get
// the window's own. The window lets the old ones go before they are destroyed.
void FormPeer::ShowIconsAt(int dpi) {
  UniqueIcon small(LoadIconOfEdge(Context().instance, kMainIcon, SmallIconEdgeAt(dpi)));
  UniqueIcon big(LoadIconOfEdge(Context().instance, kMainIcon, IconEdgeAt(dpi)));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  small_icon_ = std::move(small);
  big_icon_ = std::move(big);
}

// Keyboard navigation follows the active form, and each form keeps the
// control that had the focus when it lost the activation.
void FormPeer::Activated(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) focus_ = focus;
    if (Context().active_form == Handle()) Context().active_form = nullptr;
    return;
  }
  Context().active_form = Handle();
  if (!focus_ || !IsChild(Handle(), focus_) || !IsWindowVisible(focus_) ||
      !IsWindowEnabled(focus_)) {
    focus_ = GetNextDlgTabItem(Handle(), nullptr, FALSE);
  }
  SetFocus(focus_ ? focus_ : Handle());
}

// A maximised window stands at its maximised frame (-8,-8 and the like); the
// form keeps the place it returns to, which is where the next page appears.
void FormPeer::ReportPosition() {
  RECT frame;
  GetWindowRect(Handle(), &frame);
  if (IsZoomed(Handle())) frame = RestoredFrame(Handle());
  Guard([&] { form_.Moved(frame.left, frame.top); });
}

// The dialog manager sends Enter to the form as IDOK with no control named,
// or, once Tab has made the focused push button its default, as that
// button's command; it sends Escape as IDCANCEL. A control's own commands
// reach the form only from its direct children.
bool FormPeer::HandleDialogKey(WPARAM wparam, LPARAM lparam) {
  if (HIWORD(wparam) != BN_CLICKED) return false;
  if (HWND named = reinterpret_cast<HWND>(lparam)) {
    if (GetParent(named) == Handle()) return false;
    PressButton(named);
    return true;
  }
  switch (LOWORD(wparam)) {
    case IDOK:
      PressButton(GetFocus());
      return true;
    case IDCANCEL:
      Guard([&] { form_.PressCancel(); });
      return true;
    default:
      return false;
  }
}

// No button of a form is its default: Enter presses only the focused push
// button, the way a click does, and does nothing on any other control.
void FormPeer::PressButton(HWND window) {
  if (!window || !IsChild(Handle(), window)) return;
  const WindowPeer* peer = OfChild(GetParent(window), window);
  if (peer && peer->GetControl().Kind() == ui::ControlKind::Button)
    SendMessageW(window, BM_CLICK, 0, 0);
}

}  // namespace win32
