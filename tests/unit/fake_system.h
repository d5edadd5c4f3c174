// An in-memory stand-in for the operating system: files are a map from
// Windows path to bytes, the ANSI code page is Windows-1252.
#pragma once

#include <map>

#include "platform/system.h"

namespace test {

class FakeSystem : public platform::System {
 public:
  std::string program_folder = "C:\\Release\\";
  std::map<std::string, std::string> files;
  platform::OsVersion version{2, 6, 1, "Service Pack 1"};

  std::string ProgramFolder() override { return program_folder; }
  std::optional<std::string> ReadFileBytes(const std::string& path) override;
  std::string DecodeAnsi(std::string_view bytes) override;
  platform::OsVersion QueryOsVersion() override { return version; }
};

}  // namespace test
