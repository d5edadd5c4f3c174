// An in-memory stand-in for the operating system: files are a map from
// Windows path to bytes, the ANSI code page is Windows-1252.
#pragma once

#include <map>
#include <set>
#include <stdexcept>

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

  std::vector<std::string> arguments;
  std::vector<std::string> sounds;  // aliases played, in order
  std::vector<std::string> pictures_loaded;

  std::vector<std::string> Arguments() override { return arguments; }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool RemoveFile(const std::string& path) override { return files.erase(path) != 0; }
  void PlaySoundAlias(const std::string& alias) override { sounds.push_back(alias); }
  // Any existing file is a picture of 10 x 20 pixels.
  std::shared_ptr<const platform::Picture> LoadPicture(const std::string& path) override;
  std::shared_ptr<const platform::Picture> ProgramIcon() override;
  std::shared_ptr<const platform::Picture> BannerPicture() override;
  std::shared_ptr<const platform::Picture> ProgressPicture(int state) override;
};

}  // namespace test
