// The install log: one line per event with its date and time, appended to
// Installer.log in the user's temporary folder (or the file "/log" names),
// so that both halves of a run that spans a restart land in the same file.
// Writing it never fails a run. Above a megabyte at the first line of a
// program run, the log becomes Installer.log.old and starts anew.
#pragma once

#include <string>

namespace platform {
class System;
}

namespace frame {

class InstallLog {
 public:
  explicit InstallLog(platform::System& system) : system_(system) {}

  std::string Path() const;
  // Another file than the one in the temporary folder ("/log").
  void SetPath(std::string path) { path_ = std::move(path); }
  void Write(const std::string& line);

 private:
  platform::System& system_;
  std::string path_;
  bool kept_small_ = false;
};

}  // namespace frame
