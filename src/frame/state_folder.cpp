#include "frame/state_folder.h"

#include "frame/continuation.h"
#include "platform/system.h"

namespace frame {

// A name of nothing but blanks and dots is no name.
std::string ReleaseFolderName(const std::string& release_name) {
  std::string name;
  for (const char c : release_name) {
    const bool forbidden = static_cast<unsigned char>(c) < 0x20 ||
                           std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    name += forbidden ? '_' : c;
  }
  const std::size_t last = name.find_last_not_of(". ");
  name.erase(last == std::string::npos ? 0 : last + 1);
  return name.empty() ? kProgramName : name;
}

void MakeFolder(platform::System& system, const std::string& folder) {
  if (folder.empty() || system.FolderExists(folder)) return;
  const std::size_t parent = folder.find_last_of('\\');
  if (parent != std::string::npos && parent > 0) MakeFolder(system, folder.substr(0, parent));
  system.CreateFolder(folder);
}

std::string FallbackStateFolder(platform::System& system, const std::string& release_name) {
  return system.CommonDataFolder() + ReleaseFolderName(release_name) + "\\";
}

std::string ChooseStateFolder(platform::System& system, const std::string& release_name) {
  const std::string program = system.ProgramFolder();
  const std::string fallback = FallbackStateFolder(system, release_name);
  if (system.FileExists(program + kContinuationFileName)) return program;
  if (system.FileExists(fallback + kContinuationFileName)) return fallback;
  if (system.FolderWritable(program)) return program;
  MakeFolder(system, fallback + "data");
  return fallback;
}

}  // namespace frame
