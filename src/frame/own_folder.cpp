#include "frame/own_folder.h"

#include "frame/install_log.h"
#include "platform/system.h"

namespace frame {

namespace {

constexpr char kMarkText[] =
    "Dieser Ordner gehört dem Installationsprogramm der Updatepakete; es legt hier den Zustand "
    "seiner Installationen ab.\r\n";

std::string WithoutBackslash(const std::string& folder) {
  return folder.substr(0, folder.find_last_not_of('\\') + 1);
}

bool AdministratorsOnly(const std::optional<platform::System::FolderAccess>& access) {
  return access && access->owner_trusted && !access->others_may_write;
}

bool Marked(platform::System& system, const std::string& folder) {
  return system.FileExists(folder + kFolderMarkName);
}

std::string WhyNotOwn(platform::System& system, const std::string& folder) {
  if (!Marked(system, folder)) return "trägt nicht die Marke dieses Programms";
  const auto access = system.QueryFolderAccess(WithoutBackslash(folder));
  if (!access) return "seine Zugriffsrechte lassen sich nicht lesen";
  if (!access->owner_trusted) return "gehört " + access->owner + ", nicht den Administratoren";
  return "dürfen auch andere als die Administratoren ändern";
}

// Ours, but others may change it: it gets the administrators' access list
// again, and what it holds goes, since others may have put it there.
bool Reown(platform::System& system, InstallLog& log, const std::string& folder) {
  const auto access = system.QueryFolderAccess(WithoutBackslash(folder));
  if (!Marked(system, folder) || !access || !access->owner_trusted) return false;
  if (!system.ProtectFolder(WithoutBackslash(folder)) ||
      !AdministratorsOnly(system.QueryFolderAccess(WithoutBackslash(folder)))) {
    return false;
  }
  system.ClearFolder(folder + "*.*");
  system.WriteHiddenFile(folder + kFolderMarkName, kMarkText);
  log.Write("Ordner " + folder +
            " dieses Programms durften auch andere ändern: nur die Administratoren und SYSTEM "
            "dürfen es wieder, sein Inhalt wurde gelöscht");
  return true;
}

bool MakeOwnFolder(platform::System& system, const std::string& folder) {
  MakeFolder(system, WithoutBackslash(folder));
  return system.FolderExists(WithoutBackslash(folder)) &&
         system.WriteHiddenFile(folder + kFolderMarkName, kMarkText) && IsOwnFolder(system, folder);
}

// A standard user's run needs a folder it can write; an elevated run one
// that only the administrators may change.
bool Usable(platform::System& system, InstallLog& log, const std::string& folder) {
  if (!system.FolderExists(WithoutBackslash(folder))) return MakeOwnFolder(system, folder);
  if (IsOwnFolder(system, folder)) {
    if (system.FolderWritable(folder)) return true;
    log.Write("Ordner " + folder +
              " dieses Programms lässt sich nicht beschreiben; ein neuer "
              "Ordner folgt");
    return false;
  }
  if (system.IsElevated() && Reown(system, log, folder)) return true;
  log.Write("Ordner " + folder + " " + WhyNotOwn(system, folder) +
            "; er bleibt unberührt, ein neuer Ordner folgt");
  return false;
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

std::string NumberedFolder(const std::string& parent, const std::string& name, int number) {
  return parent + name + (number == 1 ? "" : " (" + std::to_string(number) + ")") + "\\";
}

bool IsOwnFolder(platform::System& system, const std::string& folder) {
  if (!Marked(system, folder)) return false;
  return !system.IsElevated() ||
         AdministratorsOnly(system.QueryFolderAccess(WithoutBackslash(folder)));
}

std::optional<std::string> UseOwnFolder(platform::System& system, InstallLog& log,
                                        const std::string& parent, const std::string& name) {
  for (int number = 1; number <= kOwnFolderTries; ++number) {
    const std::string folder = NumberedFolder(parent, name, number);
    if (Usable(system, log, folder)) return folder;
  }
  log.Write("Kein Ordner " + NumberedFolder(parent, name, 1) + " dieses Programms zu haben");
  return std::nullopt;
}

const std::optional<std::string>& OwnFolder::Path() {
  if (!looked_) path_ = UseOwnFolder(system_, log_, system_.CommonDataFolder(), kOwnFolderName);
  looked_ = true;
  return path_;
}

std::optional<std::string> OwnFolder::Find() const {
  if (looked_) return path_;
  for (int number = 1; number <= kOwnFolderTries; ++number) {
    const std::string folder = NumberedFolder(system_.CommonDataFolder(), kOwnFolderName, number);
    if (!system_.FolderExists(WithoutBackslash(folder))) return std::nullopt;
    if (IsOwnFolder(system_, folder)) return folder;
  }
  return std::nullopt;
}

}  // namespace frame
