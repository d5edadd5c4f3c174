// The operating-system services the program logic needs. The Windows build
// implements them in src/win32/; unit tests use an in-memory fake.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/picture.h"

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

  // The command-line arguments, without the program's own path.
  virtual std::vector<std::string> Arguments() = 0;

  virtual bool FileExists(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;

  // Starts a system sound by its alias ("SYSTEMERROR", ...) and returns at
  // once; a sound that cannot be played is no error.
  virtual void PlaySoundAlias(const std::string& alias) = 0;

  // A Windows bitmap (.bmp) or icon (.ico) file, chosen by its extension.
  // Throws std::runtime_error with the runtime's German message when the
  // file is missing or not a picture of that kind.
  virtual std::shared_ptr<const Picture> LoadPicture(const std::string& path) = 0;
  // The program's own main icon, and the banner of the installation page.
  virtual std::shared_ptr<const Picture> ProgramIcon() = 0;
  virtual std::shared_ptr<const Picture> BannerPicture() = 0;
  // The tray's progress pictures, 16 x 16: state 0 (nothing done) to 16 (all done).
  virtual std::shared_ptr<const Picture> ProgressPicture(int state) = 0;
};

}  // namespace platform
