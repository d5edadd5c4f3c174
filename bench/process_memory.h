// The memory of a running Wine process as Linux counts it: its resident set (the working set;
// the kernel keeps its peak) and its anonymous resident and swapped pages (the private bytes).
#pragma once

#include <sys/types.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>

namespace bench {

struct MemoryPeak {
  std::uint64_t working_set = 0;  // bytes
  std::uint64_t private_bytes = 0;

  // Reads /proc/<pid>/status once more; the peaks keep what they have when it is gone.
  void Sample(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::uint64_t anonymous = 0;
    bool seen = false;
    for (std::string name; status >> name;) {
      std::uint64_t kilobytes = 0;
      if (!(status >> kilobytes)) {
        status.clear();
      } else if (name == "VmHWM:") {
        working_set = std::max(working_set, kilobytes * 1024);
      } else if (name == "RssAnon:" || name == "VmSwap:") {
        anonymous += kilobytes * 1024;
        seen = true;
      }
      status.ignore(1 << 20, '\n');
    }
    if (seen) private_bytes = std::max(private_bytes, anonymous);
  }
};

}  // namespace bench
