#include "engine/package_runner.h"

#include <memory>
#include <optional>
#include <variant>

#include "engine/package_command.h"
#include "platform/system.h"
#include "release/errors.h"
#include "release/sha256.h"

namespace engine {

namespace {

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.rfind('\\') + 1);
}

// Emptied, or made, before each package that uses it; never removed.
void PrepareTemporaryFolder(platform::System& system, const std::string& folder) {
  if (system.FolderExists(folder)) {
    system.ClearFolder(folder + "\\*.*");
  } else if (!system.CreateFolder(folder)) {
    throw release::AppError("Der Ordner " + folder + " kann nicht angelegt werden");
  }
}

PackageOutcome NotStarted(std::string reason) {
  return {PackageState::NotStarted, false, 0, std::move(reason), {}, {}};
}

PackageOutcome NotStarted(release::WordNumber reason) {
  PackageOutcome outcome = NotStarted(std::string());
  outcome.reason_word = reason;
  return outcome;
}

PackageOutcome NoChecksum(const std::string& sha256) {
  return NotStarted("Sha256=" + sha256 + " ist keine SHA-256-Prüfsumme aus 64 Hexadezimalziffern.");
}

// A file whose checksum is not the release's is damaged or was changed.
std::variant<platform::FileHold, PackageOutcome> Compared(const std::string& found,
                                                          const std::string& sha256,
                                                          platform::FileHold hold) {
  if (release::SameSha256(found, sha256)) return hold;
  PackageOutcome damaged = NotStarted(release::kWordDamagedFile);
  damaged.damaged_sha256 = found;
  return damaged;
}

// The file is hashed right before it starts and held from then until its
// installer has ended, with others kept from writing or deleting it, so that
// what was checked is what runs; a package without a checksum is read by its
// installer alone. A refused file comes back as the outcome.
std::variant<platform::FileHold, PackageOutcome> CheckedAndHeld(platform::System& system,
                                                                const std::string& path,
                                                                const std::string& sha256) {
  if (sha256.empty()) return platform::FileHold();
  if (!release::IsSha256Text(sha256)) return NoChecksum(sha256);
  release::Sha256 hash;
  auto held =
      system.ReadFileInBlocks(path, [&hash](std::string_view block) { hash.Update(block); });
  if (!held.value)
    return NotStarted("Die Datei " + path + " lässt sich nicht lesen: " + held.reason + ".");
  return Compared(hash.HexDigest(), sha256, std::move(*held.value));
}

// The copy was hashed while it was made and is held since: what runs is
// what was checked.
std::variant<platform::FileHold, PackageOutcome> CheckedCopy(const PackageCopy& copy,
                                                             const std::string& sha256) {
  if (sha256.empty()) return copy.hold;
  if (!release::IsSha256Text(sha256)) return NoChecksum(sha256);
  return Compared(copy.sha256, sha256, copy.hold);
}

// A package found installed by the update records, of a kind that nothing
// here installs, or missing where its folder can be read is not copied: it
// ends as it would from the source. A source that can't be read is away.
std::optional<PackageOutcome> CopyFirst(platform::System& system, const std::string& path,
                                        release::OsIndex os, PackageCopy& copy) {
  const auto subkeys = [&](const std::string& key) { return system.MachineSubkeys(key); };
  if (RecordedAsInstalled(path, os, subkeys))
    return PackageOutcome{PackageState::AlreadyInstalled, false, 0, {}, {}, {}};
  const bool runnable = !BuildCommandLine(path, {}, os, {"msiexec.exe", "wusa.exe"}).empty();
  if (!runnable || (system.FolderExists(copy.source_folder) && !system.FileExists(path)))
    return std::nullopt;
  if (ContinueCopy(system, copy)) return std::nullopt;
  PackageOutcome away = NotStarted(copy.failure);
  away.copy_failed = true;
  return away;
}

}  // namespace

PackageOutcome RunPackage(platform::System& system, const std::string& source,
                          const std::string& sha256, const std::string& parameters,
                          const std::string& temporary_folder, release::OsIndex os,
                          const PackageCopies& copies) {
  if (copies.own) {
    if (auto ended = CopyFirst(system, source, os, *copies.own)) return std::move(*ended);
  }
  const bool from_copy = copies.own && copies.own->Complete();
  const std::string path = from_copy ? copies.own->Package() : source;
  if (!system.FileExists(path)) return NotStarted("Die Datei " + path + " fehlt.");
  std::string arguments = parameters;
  if (UsesTemporaryFolder(arguments)) {
    PrepareTemporaryFolder(system, temporary_folder);
    arguments = ReplaceTemporaryFolder(arguments, temporary_folder);
  }
  const std::string command = BuildCommandLine(
      path, arguments, os, {system.SystemProgram("msiexec.exe"), system.SystemProgram("wusa.exe")});
  const auto subkeys = [&](const std::string& key) { return system.MachineSubkeys(key); };
  if (RecordedAsInstalled(path, os, subkeys))
    return {PackageState::AlreadyInstalled, false, 0, {}, {}, {}};
  if (command.empty()) return NotStarted(release::kWordNoInstaller);
  auto held = from_copy ? CheckedCopy(*copies.own, sha256) : CheckedAndHeld(system, path, sha256);
  if (auto* refused = std::get_if<PackageOutcome>(&held)) return std::move(*refused);
  const platform::ProcessResult process =
      system.RunHiddenAndWait(command, FolderOf(path), [&system, ahead = copies.ahead] {
        if (ahead) ContinueCopy(system, *ahead);
      });
  if (!process.started) return NotStarted(process.error);
  return {ClassifyExitCode(process.exit_code), true, process.exit_code, {}, {}, {}};
}

// The outcome is written by the worker and read on the main thread only
// after the worker has ended; so are the copies, which the cache keeps.
void TMyThread::Start(platform::System& system, release::OsIndex os, bool low_priority,
                      std::function<void(const PackageOutcome&)> on_terminate) const {
  auto outcome = std::make_shared<PackageOutcome>();
  system.StartWorker(
      [&system, outcome, job = *this, os]() mutable {
        try {
          *outcome = RunPackage(system, job.FilePath, job.Sha256, job.Parameters,
                                job.TemporaryFolder, os, job.Copies);
        } catch (const std::exception& e) {
          outcome->reason = e.what();  // the "{tmp}" folder could not be made: nothing started
        }
        job.Copies = {};  // their holds end with the package, not with this worker's job
      },
      low_priority, [outcome, on_terminate = std::move(on_terminate)] { on_terminate(*outcome); });
}

}  // namespace engine
