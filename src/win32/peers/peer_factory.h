// Gives the control objects of a form their windows.
#pragma once

#include "ui/component.h"
#include "ui/control.h"
#include "win32/peers/form_peer.h"
#include "win32/peers/window_peer.h"

namespace win32 {

// A window for the control and for everything inside it.
void RealizeControl(ui::Control& control, WindowPeer& parent);

// Timers and popup menus; other components keep the peers they have.
void RealizeComponent(ui::Component& component, FormPeer& form);

}  // namespace win32
