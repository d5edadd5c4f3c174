// Installs one package: the "{tmp}" folder, the command line, the check of
// the update records, the file's checksum, then the installer process,
// hidden, waited for. Runs on the package's worker thread and touches no
// control.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/exit_codes.h"
#include "engine/package_cache.h"
#include "release/os_identity.h"
#include "release/words.h"

namespace platform {
class System;
}

namespace engine {

// What became of a package; the worker hands it to the sequence by value.
struct PackageOutcome {
  PackageState state = PackageState::NotStarted;
  // An installer process was created (and has ended).
  bool started = false;
  std::uint32_t exit_code = 0;  // when started
  std::string reason;           // why it was not started
  // Why, when the release's words say it (in place of `reason`).
  std::optional<release::WordNumber> reason_word;
  // The file's SHA-256 when it is not the release's: the file is damaged or
  // was changed, and it was not started.
  std::string damaged_sha256;
  // Its copy could not be made (the reason says why): the source was away.
  bool copy_failed = false;
};

// Where a package runs from: the release's drive, or its copy in the cache,
// made first; and the next package's copy, made while this one installs.
struct PackageCopies {
  std::shared_ptr<PackageCopy> own, ahead;
};

// `temporary_folder` is the folder that "{tmp}" stands for; `sha256` is
// the release's checksum of the file, or empty.
PackageOutcome RunPackage(platform::System& system, const std::string& path,
                          const std::string& sha256, const std::string& parameters,
                          const std::string& temporary_folder, release::OsIndex os,
                          const PackageCopies& copies = {});

// The worker of one package.
struct TMyThread {
  std::string FilePath;
  std::string Sha256;
  std::string Parameters;
  std::string TemporaryFolder;
  PackageCopies Copies;

  // Runs RunPackage on a worker thread; `on_terminate` follows on the main
  // thread with its outcome.
  void Start(platform::System& system, release::OsIndex os, bool low_priority,
             std::function<void(const PackageOutcome&)> on_terminate) const;
};

}  // namespace engine
