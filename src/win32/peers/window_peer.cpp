#include "win32/peers/window_peer.h"

#include <commctrl.h>

#include <stdexcept>

#include "win32/base/control_name.h"
#include "win32/base/wide_text.h"

namespace win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x5045;  // "PE"

RECT PixelRect(const DpiScale& scale, const ui::Rect& units) {
  const PixelEdges edges = scale.ToPixels(units);
  return {edges.left, edges.top, edges.right, edges.bottom};
}

}  // namespace

WindowPeer::WindowPeer(ui::Control& control, PeerContext& context, const DpiScale& scale)
    : control_(control), context_(context), scale_(scale) {}

WindowPeer::~WindowPeer() {
  if (!window_) return;
  HWND window = window_;
  Detach();
  DestroyWindow(window);
}

// Each window made here holds its peer in GWLP_USERDATA, which is the
// program's own also for Windows' control classes.
WindowPeer* WindowPeer::Of(HWND window) {
  return reinterpret_cast<WindowPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Every child of a window made here is made here as well.
WindowPeer* WindowPeer::OfChild(HWND parent, HWND window) {
  if (!window || GetAncestor(window, GA_PARENT) != parent) return nullptr;
  return Of(window);
}

void WindowPeer::CreateChild(HWND parent, const WindowSpec& spec) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | spec.style;
  // Radio buttons of one parent form a group that their own peer starts.
  if (control_.Kind() != ui::ControlKind::RadioButton) style |= WS_GROUP;
  if (control_.Visible()) style |= WS_VISIBLE;
  if (!control_.Enabled()) style |= WS_DISABLED;
  const WindowPeer* parent_peer = ParentPeer();
  const std::optional<ui::Rect> place = parent_peer ? parent_peer->PlaceOf(control_) : std::nullopt;
  if (place) placed_ = PixelRect(scale_, *place);
  // Nobody listens to WM_PARENTNOTIFY, which would go up the whole chain of parents.
  HWND window = CreateWindowExW(spec.ex_style | WS_EX_NOPARENTNOTIFY, spec.class_name,
                                Widen(control_.Caption()).c_str(), style, placed_.left, placed_.top,
                                placed_.right - placed_.left, placed_.bottom - placed_.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(context_.next_id++)),
                                context_.instance, nullptr);
  if (!window) throw std::runtime_error("Fehler beim Erzeugen des Fensters " + control_.Name());
  Adopt(window);
  if (place) Resized({place->width, place->height});
}

void WindowPeer::Adopt(HWND window) {
  window_ = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  AttachControlName(window, Widen(control_.Name()).c_str());
  const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
  subclassed_ = procedure != ClassProcedure;
  // The peer rides with the subclass, so that no message has to look it up.
  if (subclassed_) {
    SetWindowSubclass(window, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
}

void WindowPeer::ChangeScale(const DpiScale& scale) {
  scale_ = scale;
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  for (ui::Control* child : control_.Children()) {
    if (auto* peer = static_cast<WindowPeer*>(child->GetPeer())) peer->ChangeScale(scale);
  }
}

void WindowPeer::Detach() {
  ForgetControlName(window_);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  if (subclassed_) RemoveWindowSubclass(window_, Subclass, kSubclassId);
  window_ = nullptr;
}

LRESULT CALLBACK WindowPeer::ClassProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  // Without a peer: the messages of the window's making. A subclassed window
  // has had its message at the subclass.
  WindowPeer* peer = Of(window);
  return peer && !peer->subclassed_ ? peer->Dispatch(window, message, wparam, lparam)
                                    : DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK WindowPeer::Subclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR, DWORD_PTR data) {
  return reinterpret_cast<WindowPeer*>(data)->Dispatch(window, message, wparam, lparam);
}

LRESULT WindowPeer::Dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCDESTROY) {
    // Destroyed from outside (with its parent, or at the end of the session).
    const bool subclassed = subclassed_;
    Detach();
    return subclassed ? DefSubclassProc(window, message, wparam, lparam)
                      : DefWindowProcW(window, message, wparam, lparam);
  }
  LRESULT result = 0;
  if (HandleMessage(message, wparam, lparam, result)) return result;
  return ClassDefault(message, wparam, lparam);
}

LRESULT WindowPeer::ClassDefault(UINT message, WPARAM wparam, LPARAM lparam) const {
  return subclassed_ ? DefSubclassProc(window_, message, wparam, lparam)
                     : DefWindowProcW(window_, message, wparam, lparam);
}

bool WindowPeer::HandleMessage(UINT message, WPARAM, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_MOUSEMOVE: {
      const ui::Point at{scale_.ToUnits(static_cast<short>(LOWORD(lparam))),
                         scale_.ToUnits(static_cast<short>(HIWORD(lparam)))};
      Guard([&] { control_.MouseMove(at); });
      return false;
    }
    case WM_GETFONT:  // also for the windows of the program's own classes
      result = reinterpret_cast<LRESULT>(Font());
      return true;
    case WM_SETCURSOR:
      if (LOWORD(lparam) != HTCLIENT || control_.GetCursor() != ui::Cursor::Hand) return false;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      result = TRUE;
      return true;
    default:
      return false;
  }
}

void WindowPeer::Apply(ui::Change what) {
  switch (what) {
    case ui::Change::Caption:
      SetWindowTextW(window_, Widen(control_.Caption()).c_str());
      break;
    case ui::Change::Enabled:
      EnableWindow(window_, control_.Enabled());
      break;
    case ui::Change::Visible:
      ShowWindow(window_, control_.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case ui::Change::Bounds:
      if (WindowPeer* parent = ParentPeer()) parent->ArrangeChildren();
      break;
    case ui::Change::Font:
      SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
      InvalidateRect(window_, nullptr, TRUE);
      break;
    default:
      break;
  }
}

void WindowPeer::Place(const ui::Rect& bounds) {
  PlacePixels(PixelRect(scale_, bounds), {bounds.width, bounds.height});
}

// Moving a window costs several messages; most are made where they belong.
void WindowPeer::PlacePixels(const RECT& where, ui::Point size) {
  if (!EqualRect(&where, &placed_)) {
    SetWindowPos(window_, nullptr, where.left, where.top, where.right - where.left,
                 where.bottom - where.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    placed_ = where;
  }
  Resized(size);
}

WindowPeer* WindowPeer::ParentPeer() const {
  ui::Control* parent = control_.Parent();
  return parent ? static_cast<WindowPeer*>(parent->GetPeer()) : nullptr;
}

RECT WindowPeer::ClientRect() const {
  RECT client{};
  GetClientRect(window_, &client);
  return client;
}

}  // namespace win32
