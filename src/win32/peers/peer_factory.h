// Gives the control objects of a form their windows.
#pragma once

#include "ui/component.h"
#include "ui/control.h"
#include "win32/peers/peer_context.h"
#include "win32/peers/window_peer.h"

namespace win32 {

// A window for the control and for everything inside it.
void RealizeControl(ui::Control& control, WindowPeer& parent);

// Timers and popup menus; other components keep the peers they have. A menu
// of a form without a window is owned by `fallback_owner`.
void RealizeComponent(ui::Component& component, PeerContext& context, HWND fallback_owner);

}  // namespace win32
