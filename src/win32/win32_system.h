// The platform services on real Windows.
#pragma once

#include "platform/system.h"

namespace win32 {

class Win32System : public platform::System {
 public:
  std::string ProgramFolder() override;
  std::optional<std::string> ReadFileBytes(const std::string& path) override;
  std::string DecodeAnsi(std::string_view bytes) override;
  platform::OsVersion QueryOsVersion() override;
};

}  // namespace win32
