#include "frame/state_folder.h"

#include <optional>

#include "frame/continuation.h"
#include "frame/install_log.h"
#include "frame/own_folder.h"
#include "platform/system.h"

namespace frame {

// A name of nothing but blanks and dots is no name.
std::string ReleaseFolderName(const std::string& release_name) {
  std::string name;
  for (const char c : release_name) {
    const bool forbidden = static_cast<unsigned char>(c) < 0x20 ||
                           std::string_view("\\/:*?\"<>|%").find(c) != std::string_view::npos;
    name += forbidden ? '_' : c;
  }
  const std::size_t last = name.find_last_not_of(". ");
  name.erase(last == std::string::npos ? 0 : last + 1);
  return name.empty() ? kProgramName : name;
}

namespace {

std::optional<std::string> FolderWithContinuation(platform::System& system, const OwnFolder& own,
                                                  const std::string& release_name) {
  const std::optional<std::string> parent = own.Find();
  if (!parent) return std::nullopt;
  for (int number = 1; number <= kOwnFolderTries; ++number) {
    const std::string folder = NumberedFolder(*parent, ReleaseFolderName(release_name), number);
    if (system.FileExists(folder + kContinuationFileName) && IsOwnFolder(system, folder)) {
      return folder;
    }
  }
  return std::nullopt;
}

std::string ReleaseStateFolder(platform::System& system, InstallLog& log, OwnFolder& own,
                               const std::string& release_name) {
  std::optional<std::string> folder;
  if (const auto& parent = own.Path()) {
    folder = UseOwnFolder(system, log, *parent, ReleaseFolderName(release_name));
  }
  if (!folder) {
    folder = system.TemporaryFolder();
    log.Write("Der Zustand der Installation bleibt im temporären Ordner " + *folder);
  }
  MakeFolder(system, *folder + "data");
  return *folder;
}

std::string ComputerFilePath(const std::string& folder) {
  return folder + kContinuationFileName + kComputerFileSuffix;
}

}  // namespace

bool ProgramOnLocalDisk(platform::System& system) {
  return system.KindOfDrive(system.ProgramFolder()) == platform::System::DriveKind::Fixed;
}

bool OwnContinuationBesideProgram(platform::System& system) {
  const std::string program = system.ProgramFolder();
  if (!system.FileExists(program + kContinuationFileName)) return false;
  if (ProgramOnLocalDisk(system)) return true;
  return system.ReadFileBytes(ComputerFilePath(program)) == system.ComputerName();
}

std::string ChooseStateFolder(platform::System& system, InstallLog& log, OwnFolder& own,
                              const std::string& release_name) {
  const std::string program = system.ProgramFolder();
  if (OwnContinuationBesideProgram(system)) return program;
  if (system.FileExists(program + kContinuationFileName)) {
    const auto computer = system.ReadFileBytes(ComputerFilePath(program));
    log.Write("Fortsetzungsdatei " + program + kContinuationFileName +
              " gehört nicht zu diesem Computer (" +
              (computer ? "vermerkt: " + *computer : "kein Computer vermerkt") +
              "); sie bleibt unberührt");
  }
  if (const auto found = FolderWithContinuation(system, own, release_name)) return *found;
  if (ProgramOnLocalDisk(system) && system.FolderWritable(program)) return program;
  return ReleaseStateFolder(system, log, own, release_name);
}

}  // namespace frame
