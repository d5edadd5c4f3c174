// A timer of a form: OnTimer every interval while it is enabled.
#pragma once

#include "ui/component.h"
#include "ui/event.h"
#include "ui/form.h"

namespace ui {

class Timer : public Component {
 public:
  Timer(Form& owner, std::string name, unsigned interval_ms, bool enabled = false)
      : Component(&owner, std::move(name)), interval_(interval_ms), enabled_(enabled) {
    owner.AddComponent(this);
  }

  unsigned Interval() const { return interval_; }
  // For intervals only the running system knows, such as the double-click time.
  void SetInterval(unsigned interval_ms) {
    if (interval_ms == interval_) return;
    interval_ = interval_ms;
    Changed(Change::Interval);
  }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(Change::Enabled);
  }

  Event<> OnTimer;

  // One interval has passed.
  void Tick() {
    if (enabled_) OnTimer.Raise();
  }

 private:
  unsigned interval_;
  bool enabled_;
};

}  // namespace ui
