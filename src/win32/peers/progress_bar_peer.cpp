#include "win32/peers/progress_bar_peer.h"

#include <commctrl.h>

namespace win32 {

ProgressBarPeer::ProgressBarPeer(ui::ProgressBar& bar, WindowPeer& parent)
    : WindowPeer(bar, parent.Context(), parent.Scale()), bar_(bar) {
  CreateChild(parent.Handle(), {PROGRESS_CLASSW, 0});
  SendMessageW(Handle(), PBM_SETRANGE32, bar.Min(), bar.Max());
  SendMessageW(Handle(), PBM_SETPOS, bar.Position(), 0);
}

void ProgressBarPeer::Apply(ui::Change what) {
  if (what == ui::Change::Position) {
    SendMessageW(Handle(), PBM_SETPOS, bar_.Position(), 0);
  } else {
    WindowPeer::Apply(what);
  }
}

}  // namespace win32
