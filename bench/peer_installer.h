// The peer of the whole-program benchmarks: installers that Debian's makensis builds from
// scripts written here, with the Modern UI 2 pages, for 64-bit Unicode Windows.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "harness/wine_harness.h"

namespace bench {

namespace fs = std::filesystem;

// An installer whose first page is the welcome page, with the installation and finish pages
// behind it and nothing to install.
fs::path MakeWelcomePeer(e2e::WineSession& wine, const fs::path& folder);

// An installer that shows its installation page at once and runs `programs` (Windows paths)
// one after the other with ExecWait, each in its own folder, then closes by itself.
fs::path MakeSequencePeer(e2e::WineSession& wine, const fs::path& folder,
                          const std::vector<std::string>& programs);

}  // namespace bench
