// The harness's own X server: Xvfb on a display number it picks itself.
#pragma once

#include <optional>
#include <string>

#include "harness/child_process.h"

namespace e2e {

class VirtualDisplay {
 public:
  // Starts Xvfb and returns once it accepts clients; its output goes to `log_file`.
  explicit VirtualDisplay(const std::string& log_file);
  ~VirtualDisplay() { Stop(); }

  const std::string& name() const { return name_; }  // ":N", for DISPLAY
  pid_t pid() const { return xvfb_ ? xvfb_->pid() : -1; }
  void Stop();

 private:
  std::optional<ChildProcess> xvfb_;
  std::string name_;
};

}  // namespace e2e
