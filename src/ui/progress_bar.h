// A progress bar with a range and a position.
#pragma once

#include "ui/control.h"

namespace ui {

class ProgressBar : public Control {
 public:
  ProgressBar(Control& parent, std::string name, Rect bounds, int min = 0, int max = 100)
      : Control(ControlKind::ProgressBar, &parent.Owner(), &parent, std::move(name), bounds, "",
                kNoOptions),
        min_(min),
        max_(max) {}

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetPosition(int position) {
    if (position < min_) position = min_;
    if (position > max_) position = max_;
    if (position == position_) return;
    position_ = position;
    Changed(Change::Position);
  }

 private:
  int min_, max_;
  int position_ = 0;
};

}  // namespace ui
