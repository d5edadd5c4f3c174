// The program's own folder under the machine's program data,
// ProgramData\UpdatePackages\: the state folders of releases whose program
// can't keep its state beside itself, and the default install log of runs
// with administrator rights. A folder of that name may be another program's,
// or one that a user made first to steer what an elevated run writes there.
// So the program writes a mark into each folder it makes there, and uses,
// re-owns or empties only a folder that carries its mark and, with
// administrator rights, belongs to the administrators or SYSTEM. Anything
// else is left as it is and a fresh name beside it is used ("UpdatePackages
// (2)"); the log says so.
#pragma once

#include <optional>
#include <string>

namespace platform {
class System;
}

namespace frame {

class InstallLog;

// The name of the folder, as that of the key of the record for deployment tools.
constexpr char kOwnFolderName[] = "UpdatePackages";
// The hidden file that marks a folder as this program's.
constexpr char kFolderMarkName[] = "UpdatePackages.mark";
// How many names a run tries, the first and the fresh ones beside it.
constexpr int kOwnFolderTries = 10;

// Makes a folder and every missing folder above it; with administrator
// rights each level made is one that only the administrators may change.
// What can't be made is left for the first file written there to report.
void MakeFolder(platform::System& system, const std::string& folder);

// `name` in `parent` (ending in a backslash), or with number n > 1 the fresh
// name beside it: "name (n)"; ending in a backslash.
std::string NumberedFolder(const std::string& parent, const std::string& name, int number);

// A folder of the program's own that may be used as it stands: it carries
// the mark, and with administrator rights only SYSTEM and the administrators
// own and may change it.
bool IsOwnFolder(platform::System& system, const std::string& folder);

// The first of the names that is a folder of the program's own, made (with
// its mark) where none stands yet; each one that is someone else's is left
// as it is and logged. Nothing when all of them are taken or none can be
// made.
std::optional<std::string> UseOwnFolder(platform::System& system, InstallLog& log,
                                        const std::string& parent, const std::string& name);

// ProgramData\UpdatePackages\ (or its fresh name), found or made once, when
// first asked for.
class OwnFolder {
 public:
  OwnFolder(platform::System& system, InstallLog& log) : system_(system), log_(log) {}

  // Nothing when no name can be used; the log says why.
  const std::optional<std::string>& Path();
  // The folder as it stands, neither made nor logged: nothing when it is
  // not there yet.
  std::optional<std::string> Find() const;

 private:
  platform::System& system_;
  InstallLog& log_;
  bool looked_ = false;
  std::optional<std::string> path_;
};

}  // namespace frame
