// "release-check --new PACKAGES RELEASE" and "--add PACKAGES RELEASE": a
// release made from a folder of packages, or packages added to one, with the
// names, detection rules, silent switches and checksums read from the
// packages themselves; then checked as release-check checks a release.
#pragma once

#include <string>

#include "check/build_files.h"
#include "check/command.h"

namespace check {

struct BuildOptions {
  std::string packages, release;
  std::string name;       // empty: the release folder's name
  std::string version;    // empty: today's date
  std::string installer;  // empty: Installer.exe beside the program, when there is one
  bool english = false;
};

CommandResult NewRelease(const BuildOptions& options, BuildFiles& files);
CommandResult AddToRelease(const BuildOptions& options, BuildFiles& files);

// The words of Language.ini, German or English (from demo/Language*.ini).
extern const char* const kGermanWords;
extern const char* const kEnglishWords;

}  // namespace check
