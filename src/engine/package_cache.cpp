#include "engine/package_cache.h"

#include <algorithm>

#include "engine/package_command.h"
#include "release/byte_source.h"
#include "release/msi_reader.h"

namespace engine {

namespace {

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.rfind('\\') + 1);
}

std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('\\') + 1);
}

// The package's name in Data with "/" as "\": the folder it lies in.
std::string FolderInData(std::string file) {
  std::replace(file.begin(), file.end(), '/', '\\');
  return Upper(FolderOf(file));
}

std::string DriveRoot(const std::string& folder) {
  return folder.size() >= 3 && folder[1] == ':' ? folder.substr(0, 3) : folder;
}

// A folder as the shell deletes it whole: named without its last backslash.
std::string Unended(const std::string& folder) {
  return folder.substr(0, folder.size() - 1);
}

std::string SizeInMegabytes(std::uint64_t bytes) {
  return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

// The copy of an .msi, read where its tables lie.
class CopiedDatabase : public release::ByteSource {
 public:
  CopiedDatabase(platform::System& system, std::string path)
      : system_(system), path_(std::move(path)), size_(system.FileSize(path_).value_or(0)) {}
  std::uint64_t Size() const override { return size_; }

 protected:
  bool ReadAt(std::uint64_t offset, std::size_t count, char* out, std::string& reason) override {
    const auto bytes = system_.ReadFilePart(path_, offset, count);
    if (!bytes.value || bytes.value->size() != count) {
      reason = bytes.value ? "it ended early" : bytes.reason;
      return false;
    }
    std::copy(bytes.value->begin(), bytes.value->end(), out);
    return true;
  }

 private:
  platform::System& system_;
  std::string path_;
  std::uint64_t size_;
};

bool IsMsi(const std::string& path) {
  return path.size() >= 4 && Upper(path.substr(path.size() - 4)) == ".MSI";
}

// Room for the files' bytes and the margin; `no_room` says why not.
void CheckRoom(platform::System& system, PackageCopy& copy);

// The cabinets that an .msi copied alone names outside itself go with it, as
// far as the release has them; one it lacks is left to msiexec to report. A
// database that can't be read is msiexec's to report too.
bool AddCabinets(platform::System& system, PackageCopy& copy) {
  if (copy.cabinets_listed || copy.whole_folder || !IsMsi(copy.source)) return true;
  std::vector<std::string> names;
  try {
    CopiedDatabase database(system, copy.Package());
    names = release::ReadMsiExternalCabinets(database);
  } catch (const release::UnreadablePackage&) {
  }
  for (const std::string& name : names) {
    const auto size = system.FileSize(copy.source_folder + name);
    if (!size && !system.FolderExists(copy.source_folder)) {
      copy.failure = "Der Ordner " + copy.source_folder + " ist nicht erreichbar";
      return false;
    }
    if (size)
      copy.files.push_back({copy.source_folder + name, copy.folder + name, *size, 0, false});
  }
  copy.cabinets_listed = true;
  CheckRoom(system, copy);
  return true;
}

// The files to copy, the package first, and whether the drive has room for
// them.
bool List(platform::System& system, PackageCopy& copy) {
  std::vector<std::string> names{NameOf(copy.source)};
  if (copy.whole_folder) {
    const auto found = system.FilesUnder(copy.source_folder);
    if (!found.value) {
      copy.failure = found.reason;
      return false;
    }
    for (const std::string& name : *found.value) {
      if (Upper(name) != Upper(names.front())) names.push_back(name);
    }
  }
  copy.files.clear();
  for (const std::string& name : names) {
    const auto size = system.FileSize(copy.source_folder + name);
    if (!size && copy.files.empty()) {
      copy.failure = "Die Datei " + copy.source + " ist nicht erreichbar";
      return false;
    }
    copy.files.push_back(
        {copy.source_folder + name, copy.folder + name, size.value_or(0), 0, false});
  }
  CheckRoom(system, copy);
  copy.listed = true;
  return true;
}

void CheckRoom(platform::System& system, PackageCopy& copy) {
  std::uint64_t missing = 0;
  for (const CopiedFile& file : copy.files) missing += file.size - std::min(file.size, file.copied);
  const auto free = system.FreeSpace(DriveRoot(copy.folder));
  if (free && *free < missing + kCacheSpaceMargin) {
    copy.no_room = "auf " + DriveRoot(copy.folder) + " sind " + SizeInMegabytes(*free) +
                   " frei, die Kopie braucht " + SizeInMegabytes(copy.Bytes()) + " und " +
                   SizeInMegabytes(kCacheSpaceMargin) + " Reserve";
  }
}

bool CopyOne(platform::System& system, PackageCopy& copy, CopiedFile& file) {
  const bool package = &file == &copy.files.front();
  auto held = system.CopyFileFrom(file.from, file.to, file.copied,
                                  [&file, &copy, package](std::string_view block) {
                                    file.copied += block.size();
                                    if (package) copy.hash.Update(block);
                                  });
  if (!held.value) {
    copy.failure = held.reason;
    return false;
  }
  file.done = true;
  if (package) {
    copy.sha256 = copy.hash.HexDigest();
    copy.hold = std::move(*held.value);
  }
  return true;
}

}  // namespace

std::string PackageCopy::Package() const {
  return folder + NameOf(source);
}

bool PackageCopy::Complete() const {
  return listed && no_room.empty() &&
         std::all_of(files.begin(), files.end(), [](const CopiedFile& f) { return f.done; });
}

std::uint64_t PackageCopy::Bytes() const {
  std::uint64_t bytes = 0;
  for (const CopiedFile& file : files) bytes += file.size;
  return bytes;
}

bool ContinueCopy(platform::System& system, PackageCopy& copy) {
  copy.failure.clear();
  if (!copy.listed && !List(system, copy)) return false;
  if (!copy.no_room.empty()) return true;
  for (std::size_t i = 0; i < copy.files.size() && copy.no_room.empty(); ++i) {
    if (!copy.files[i].done && !CopyOne(system, copy, copy.files[i])) return false;
    if (i == 0 && !AddCabinets(system, copy)) return false;
  }
  return true;
}

bool AloneInItsFolder(const release::PackageTable& packages, int number) {
  const std::string folder = FolderInData(packages[number].File);
  if (folder.empty()) return false;
  for (int other = 1; other <= packages.Count(); ++other) {
    if (other != number && FolderInData(packages[other].File).rfind(folder, 0) == 0) return false;
  }
  return true;
}

void PackageCache::Open(platform::System& system, const std::string& data_folder,
                        const std::string& state_folder) {
  system_ = &system;
  data_folder_ = data_folder;
  folder_.clear();
  if (system.KindOfDrive(data_folder) != platform::System::DriveKind::Fixed)
    folder_ = state_folder + "Cache\\";
}

std::shared_ptr<PackageCopy> PackageCache::Of(int number, const release::PackageTable& packages) {
  if (!Active()) return nullptr;
  std::shared_ptr<PackageCopy>& copy = copies_[number];
  if (copy) return copy;
  copy = std::make_shared<PackageCopy>();
  std::string file = packages[number].File;
  std::replace(file.begin(), file.end(), '/', '\\');
  copy->source = data_folder_ + file;
  copy->source_folder = FolderOf(copy->source);
  copy->whole_folder = AloneInItsFolder(packages, number);
  copy->folder = folder_ + std::to_string(number) + "\\";
  return copy;
}

void PackageCache::Remove(int number) {
  const auto it = copies_.find(number);
  if (it == copies_.end()) return;
  const std::string folder = it->second->folder;
  copies_.erase(it);  // the hold goes first
  system_->ClearFolder(Unended(folder));
}

void PackageCache::RemoveAll() {
  if (!Active()) return;
  copies_.clear();
  system_->ClearFolder(Unended(folder_));
}

}  // namespace engine
