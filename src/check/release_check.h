// The release checker: every problem of a release folder that the installer
// would meet, found by reading the release with the installer's own code.
#pragma once

#include <optional>
#include <vector>

#include "check/finding.h"
#include "check/release_files.h"

namespace check {

// The findings for the release in the folder of `files` (the folder of
// Installer.exe, or its Data folder); nothing when the folder holds no release.
std::optional<std::vector<Finding>> CheckRelease(ReleaseFiles& files);

}  // namespace check
