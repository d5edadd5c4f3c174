#include "frame/state_folder.h"

#include <optional>

#include "frame/continuation.h"
#include "frame/install_log.h"
#include "platform/system.h"

namespace frame {

namespace {

// How many folders of a release a run tries under the machine's program data
// before it gives up looking for one that only the administrators may change.
constexpr int kStateFolderTries = 10;

}  // namespace

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

namespace {

// The first is the release's own folder, the others fresh ones beside it.
std::string Candidate(platform::System& system, const std::string& release_name, int number) {
  const std::string base = system.CommonDataFolder() + ReleaseFolderName(release_name);
  return number == 1 ? base + "\\" : base + " (" + std::to_string(number) + ")\\";
}

std::string WithoutBackslash(const std::string& folder) {
  return folder.substr(0, folder.find_last_not_of('\\') + 1);
}

bool AdministratorsOnly(const std::optional<platform::System::FolderAccess>& access) {
  return access && access->owner_trusted && !access->others_may_write;
}

// Without administrator rights nothing is started elevated from the folder,
// and its owner and access list could not be changed anyway.
bool Trusted(platform::System& system, const std::string& folder) {
  return !system.IsElevated() ||
         AdministratorsOnly(system.QueryFolderAccess(WithoutBackslash(folder)));
}

std::string Why(const platform::System::FolderAccess& access) {
  if (!access.owner_trusted) return "gehört " + access.owner + ", nicht den Administratoren";
  return "dürfen auch andere als die Administratoren ändern";
}

// A folder of another owner is taken over; what it holds is not this run's
// and goes. One of this run's user gets the access list again too: that
// user's programs without administrator rights could change it otherwise.
// False when it can't be made or taken over.
bool TakeFolder(platform::System& system, InstallLog& log, const std::string& folder) {
  const std::string path = WithoutBackslash(folder);
  MakeFolder(system, path);
  if (!system.IsElevated()) return true;
  const auto access = system.QueryFolderAccess(path);
  if (!access) return false;
  if (AdministratorsOnly(access)) {
    system.ProtectFolder(path);
    return true;
  }
  log.Write("Ordner " + folder + ": " + Why(*access));
  if (!system.ProtectFolder(path) || !AdministratorsOnly(system.QueryFolderAccess(path))) {
    log.Write("Ordner " + folder + " lässt sich nicht übernehmen; ein neuer Ordner folgt");
    return false;
  }
  system.ClearFolder(folder + "*.*");
  log.Write("Ordner " + folder +
            " übernommen: er gehört den Administratoren, nur sie und SYSTEM dürfen ihn ändern; "
            "sein Inhalt wurde gelöscht");
  return true;
}

std::string WithDataFolder(platform::System& system, const std::string& folder) {
  MakeFolder(system, folder + "data");
  return folder;
}

// Only a folder that someone keeps from being taken over, ten times over,
// leaves the run in a folder that others may change: it says so.
std::string SecuredStateFolder(platform::System& system, InstallLog& log,
                               const std::string& release_name) {
  for (int number = 1; number <= kStateFolderTries; ++number) {
    const std::string folder = Candidate(system, release_name, number);
    if (TakeFolder(system, log, folder)) return WithDataFolder(system, folder);
  }
  const std::string folder = Candidate(system, release_name, 1);
  log.Write(
      "Kein Ordner für den Zustand der Installation, den nur die Administratoren ändern "
      "dürfen; es bleibt " +
      folder);
  return WithDataFolder(system, folder);
}

std::optional<std::string> FolderWithContinuation(platform::System& system,
                                                  const std::string& release_name) {
  for (int number = 1; number <= kStateFolderTries; ++number) {
    const std::string folder = Candidate(system, release_name, number);
    if (system.FileExists(folder + kContinuationFileName) && Trusted(system, folder)) return folder;
  }
  return std::nullopt;
}

std::string ComputerFilePath(const std::string& folder) {
  return folder + kContinuationFileName + kComputerFileSuffix;
}

}  // namespace

void MakeFolder(platform::System& system, const std::string& folder) {
  if (folder.empty() || system.FolderExists(folder)) return;
  const std::size_t parent = folder.find_last_of('\\');
  if (parent != std::string::npos && parent > 0) MakeFolder(system, folder.substr(0, parent));
  if (system.IsElevated()) {
    system.CreateProtectedFolder(folder);
  } else {
    system.CreateFolder(folder);
  }
}

bool ProgramOnLocalDisk(platform::System& system) {
  return system.KindOfDrive(system.ProgramFolder()) == platform::System::DriveKind::Fixed;
}

bool OwnContinuationBesideProgram(platform::System& system) {
  const std::string program = system.ProgramFolder();
  if (!system.FileExists(program + kContinuationFileName)) return false;
  if (ProgramOnLocalDisk(system)) return true;
  return system.ReadFileBytes(ComputerFilePath(program)) == system.ComputerName();
}

std::string FallbackStateFolder(platform::System& system, const std::string& release_name) {
  return Candidate(system, release_name, 1);
}

std::string ChooseStateFolder(platform::System& system, InstallLog& log,
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
  if (const auto found = FolderWithContinuation(system, release_name)) return *found;
  if (ProgramOnLocalDisk(system) && system.FolderWritable(program)) return program;
  return SecuredStateFolder(system, log, release_name);
}

}  // namespace frame
