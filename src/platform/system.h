// The operating-system services the program logic needs. The Windows build
// implements them in src/win32/; unit tests use an in-memory fake.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// What the system reports about its own version at program start.
struct OsVersion {
  int platform_id = 0;  // 1: Windows 9x family, 2: Windows NT family
  int major = 0;
  int minor = 0;
  std::string service_pack;  // CSD version text, UTF-8
};

class System {
 public:
  virtual ~System() = default;

  // Folder of the running program's own file, ending in a backslash.
  virtual std::string ProgramFolder() = 0;

  // Whole content of a file, or nothing when it cannot be read.
  virtual std::optional<std::string> ReadFileBytes(const std::string& path) = 0;

  // Text in the system's ANSI code page, returned as UTF-8.
  virtual std::string DecodeAnsi(std::string_view bytes) = 0;

  virtual OsVersion QueryOsVersion() = 0;
};

}  // namespace platform
