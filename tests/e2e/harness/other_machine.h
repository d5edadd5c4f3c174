// Another machine for the end-to-end tests: a second Wine prefix beside the harness's own,
// with its own wineserver and its own computer name, showing its windows on the harness's
// display. Its programs run through the harness's session with its prefix in their
// environment. Machines that start one release from a share are played with it.
#pragma once

#include <map>
#include <string>

#include "harness/wine_harness.h"

namespace e2e {

class OtherMachine {
 public:
  // Makes the prefix when it is missing (once, ~15 s) and starts its wineserver.
  OtherMachine(WineSession& wine, const std::string& computer_name);
  ~OtherMachine();  // ends its wineserver with everything that runs there
  OtherMachine(const OtherMachine&) = delete;
  OtherMachine& operator=(const OtherMachine&) = delete;

  const std::string& computer_name() const { return computer_name_; }
  const fs::path& prefix() const { return prefix_; }
  // What a program needs in its environment to run on this machine.
  const std::map<std::string, std::string>& env() const { return env_; }
  RunResult Run(const std::string& program, const std::vector<std::string>& args);
  WineProgram Start(const std::string& program, const std::vector<std::string>& args);
  fs::path ToLinuxPath(const std::string& windows_path) const;

 private:
  void CreatePrefix();
  void Require(const RunResult& result, const std::string& what);

  WineSession& wine_;
  std::string computer_name_;
  fs::path prefix_;
  std::map<std::string, std::string> env_;
};

}  // namespace e2e
