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
  std::vector<std::string> Arguments() override;
  bool FileExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  void PlaySoundAlias(const std::string& alias) override;
  std::shared_ptr<const platform::Picture> LoadPicture(const std::string& path) override;
  // Nothing when the program has no such resource.
  std::shared_ptr<const platform::Picture> ProgramIcon() override;
  std::shared_ptr<const platform::Picture> BannerPicture() override;
  std::shared_ptr<const platform::Picture> ProgressPicture(int state) override;
};

}  // namespace win32
