// The base of every peer that owns a window: it subclasses the window, names
// it for test drivers, mirrors the state every control has, and keeps
// exceptions of event handlers inside the window procedure.
#pragma once

#include <windows.h>

#include <optional>
#include <utility>

#include "ui/application.h"
#include "ui/control.h"
#include "ui/peer.h"
#include "win32/peers/peer_context.h"
#include "win32/portable/dpi_scale.h"

namespace win32 {

struct WindowSpec {
  const wchar_t* class_name;
  DWORD style;
  DWORD ex_style = 0;
};

class WindowPeer : public ui::Peer {
 public:
  ~WindowPeer() override;
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  // The procedure of the program's own window classes (forms, containers,
  // labels, images): their peers get the messages without a subclass in front,
  // which Windows' controls need.
  static LRESULT CALLBACK ClassProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // The peer of a child window of `parent` made here; null for any other window.
  static WindowPeer* OfChild(HWND parent, HWND window);

  HWND Handle() const { return window_; }
  ui::Control& GetControl() const { return control_; }
  PeerContext& Context() const { return context_; }
  const DpiScale& Scale() const { return scale_; }

  // Without a window there is nothing to mirror: the window reads the whole
  // state when it is made.
  void Update(ui::Change what) override {
    if (window_) Apply(what);
  }

  // Runs once the children have their windows.
  virtual void Realized() {}
  // The form came to a monitor of another resolution: the window and those of the children
  // take the new scale and their fonts at it. Their places follow when the form lays them out.
  virtual void ChangeScale(const DpiScale& scale);
  // Moves the window to its place in the parent's client area (96-dpi units).
  // A window already there is not moved again.
  void Place(const ui::Rect& bounds);
  void PlacePixels(const RECT& where, ui::Point size);
  // Places the children again, after one of them changed its bounds or size.
  virtual void ArrangeChildren() {}
  // Where a child goes in the client area as laid out now (96-dpi units);
  // nothing when this window decides it otherwise.
  virtual std::optional<ui::Rect> PlaceOf(const ui::Control& /*child*/) const {
    return std::nullopt;
  }
  // What the window shows behind its children and their texts.
  virtual ui::Color Background() const { return ui::kButtonFace; }

  // Notifications that arrive at the parent window on behalf of this one.
  virtual void OnCommand(WORD /*code*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }

 protected:
  WindowPeer(ui::Control& control, PeerContext& context, const DpiScale& scale);

  // Makes the window as a child of `parent`, then adopts it. It is made at
  // its place where the parent's peer knows it, so that nothing moves it
  // again when the parent is laid out.
  void CreateChild(HWND parent, const WindowSpec& spec);
  // Takes over a window made elsewhere.
  void Adopt(HWND window);

  virtual void Apply(ui::Change what);
  // The window procedure in front of the class's own; true when handled.
  virtual bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  // What the window's class does with a message.
  LRESULT ClassDefault(UINT message, WPARAM wparam, LPARAM lparam) const;
  // The window got a new size, in 96-dpi units.
  virtual void Resized(ui::Point /*size*/) {}

  WindowPeer* ParentPeer() const;
  HFONT Font() const { return context_.fonts.Get(scale_.Dpi(), control_.Bold()); }
  RECT ClientRect() const;

  // Every call into the control objects from a window procedure goes here.
  template <typename Action>
  void Guard(Action&& action) const {
    control_.Owner().App().Guard(std::forward<Action>(action));
  }

 private:
  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR data);
  static WindowPeer* Of(HWND window);
  LRESULT Dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Detach();

  ui::Control& control_;
  PeerContext& context_;
  DpiScale scale_;
  HWND window_ = nullptr;
  bool subclassed_ = false;  // a window of one of Windows' own classes
  RECT placed_{};            // where the window stands in its parent, in pixels
};

}  // namespace win32
