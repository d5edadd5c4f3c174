// A progress bar with its range and position.
#pragma once

#include "ui/progress_bar.h"
#include "win32/peers/window_peer.h"

namespace win32 {

class ProgressBarPeer : public WindowPeer {
 public:
  ProgressBarPeer(ui::ProgressBar& bar, WindowPeer& parent);

 protected:
  void Apply(ui::Change what) override;

 private:
  ui::ProgressBar& bar_;
};

}  // namespace win32
