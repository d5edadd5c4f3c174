// The package cache: where a release lies on a share, a stick or a disc, each
// package is copied into the run's state folder before it starts, hashed
// while it is copied (its bytes cross the network once), held, and started
// from there; a share that is away for a moment breaks nothing. While a
// package installs, the next one is copied, one ahead and never more.
//
// A copy is planned on the main thread and carried out on the workers: by
// its own package's worker before the installer starts, or by the worker of
// the package before it while that one's installer runs. One worker runs at a
// time, so a copy is touched by one thread at a time.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/system.h"
#include "release/settings.h"
#include "release/sha256.h"

namespace engine {

// Room left on the cache's drive beyond a package and its companions.
constexpr std::uint64_t kCacheSpaceMargin = std::uint64_t{100} << 20;

struct CopiedFile {
  std::string from, to;
  std::uint64_t size = 0;    // as listed before copying
  std::uint64_t copied = 0;  // bytes written so far
  bool done = false;
};

struct PackageCopy {
  std::string source;         // the package on the release's drive
  std::string source_folder;  // the folder its companions are found in, ending in a backslash
  // The package lies alone in its folder under Data: all the folder holds is
  // copied with it. Else only the package goes, with the cabinets an .msi
  // names outside itself.
  bool whole_folder = false;
  std::string folder;  // the copy's folder, ending in a backslash

  bool listed = false;
  bool cabinets_listed = false;   // an .msi's cabinets outside it are among the files
  std::vector<CopiedFile> files;  // the package first
  release::Sha256 hash;           // of the package's bytes copied so far
  std::string sha256;             // its digest, once all of it is copied
  platform::FileHold hold;        // the package's copy, once all of it is copied
  std::string failure;            // why the last try stopped short
  std::string no_room;            // why it is not copied at all: it runs from the source

  // The package's copy, where it starts from.
  std::string Package() const;
  // All files are there.
  bool Complete() const;
  std::uint64_t Bytes() const;
};

// Copies what is still missing of a package and its companions, going on
// where the last try stopped; false, with `failure`, when the source can't
// be read or the copy can't be written. Too little room on the cache's drive
// is no failure: `no_room` says why nothing is copied.
bool ContinueCopy(platform::System& system, PackageCopy& copy);

// The copies of a run, by package number: made, handed to the workers,
// removed when their package has ended.
class PackageCache {
 public:
  // Copies are made where the release's drive is not a local fixed disk; in
  // "<state folder>Cache\".
  void Open(platform::System& system, const std::string& data_folder,
            const std::string& state_folder);
  bool Active() const { return !folder_.empty(); }
  const std::string& Folder() const { return folder_; }

  // The copy of package `number`, planned when new; null when the cache is not used.
  std::shared_ptr<PackageCopy> Of(int number, const release::PackageTable& packages);
  // The copy of a package that has ended goes, with its folder.
  void Remove(int number);
  // The run is over: the cache goes with everything in it.
  void RemoveAll();
  // The run stops for a restart: its copies stay on disk, held no more.
  void LetGo() { copies_.clear(); }

 private:
  platform::System* system_ = nullptr;
  std::string data_folder_, folder_;
  std::map<int, std::shared_ptr<PackageCopy>> copies_;
};

// The package shares no folder with another package of the release, and
// lies deeper than Data itself.
bool AloneInItsFolder(const release::PackageTable& packages, int number);

}  // namespace engine
