// The tray icon on Windows: Shell_NotifyIconW, and a hidden top-level window
// that receives the icon's mouse notifications and the taskbar's restart.
#pragma once

#include <memory>

#include "ui/peer.h"

namespace tray {
class TCoolTrayIcon;
}

namespace win32 {

// The peer to attach to the tray icon. It takes the system's double-click
// time as the icon's SingleClickTimer interval and shows an icon that is
// already visible.
std::unique_ptr<ui::Peer> CreateTrayPeer(tray::TCoolTrayIcon& tray);

}  // namespace win32
