// One sheet of a tab control: a container whose caption is its tab's text.
#pragma once

#include "ui/tab_control.h"
#include "win32/peers/container_peer.h"
#include "win32/peers/tab_control_peer.h"

namespace win32 {

class TabSheetPeer : public ContainerPeer {
 public:
  TabSheetPeer(ui::TabSheet& sheet, TabControlPeer& tabs);

 protected:
  void Apply(ui::Change what) override;

 private:
  int Index() const;

  TabControlPeer& tabs_;
};

}  // namespace win32
