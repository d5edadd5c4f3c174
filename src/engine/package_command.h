// How a package is started: the command line by the file's extension and
// the running system, the "{tmp}" placeholder, the log file it leaves, and the
// one package that the update records can show as already installed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "release/os_identity.h"

namespace engine {

enum class PackageKind { Exe, Msi, Msu, Other };

// ASCII letters in upper case: Windows compares file and key names so.
std::string Upper(std::string text);

// By the file name's extension, in any letter case.
PackageKind KindOf(const std::string& path);

// The programs of the system that install .msi and .msu packages, as full paths.
struct SystemInstallers {
  std::string msiexec;
  std::string wusa;
};

// The command line for a package, or the empty text when the system has no
// way to run it (.msu before Windows Vista, any other extension).
std::string BuildCommandLine(const std::string& path, const std::string& parameters,
                             release::OsIndex os, const SystemInstallers& installers);

// Whether the parameters hold "{tmp}" in any letter case.
bool UsesTemporaryFolder(const std::string& parameters);
// Every "{tmp}", in any letter case, replaced by the folder.
std::string ReplaceTemporaryFolder(const std::string& parameters, const std::string& folder);

// A Windows Installer package (.msi) and an update package (.msu) write a
// verbose log of their own into the log folder, named after the package's
// file ("<file>.log", "<file>.evtx"), unless their parameters already ask
// for one ("/l..." or "/log...", in any letter case). Any other kind is left
// as it is.
struct LoggedParameters {
  std::string parameters;
  std::string log_path;  // the log added; empty when none was
};
LoggedParameters AddPackageLog(const std::string& path, const std::string& parameters,
                               const std::string& log_folder);

// Whether a package's log file name stays inside the Windows folder: not
// empty, no drive or absolute path, no ".." part. Only such names are deleted.
bool IsPlainLogName(const std::string& name);

// Lists the names of the subkeys of a key under HKEY_LOCAL_MACHINE.
using SubkeyLister = std::function<std::vector<std::string>(const std::string& key)>;

// On Windows XP, whether the update records list the Internet Explorer 7
// package as installed.
bool RecordedAsInstalled(const std::string& path, release::OsIndex os, const SubkeyLister& subkeys);

}  // namespace engine
