// What a release needs to know of a package file, read from the file itself:
// its name, its detection rule, the parameters that keep it silent, and, in
// words for the release author, what was found and what could not be told.
#pragma once

#include <string>

#include "release/byte_source.h"

namespace check {

struct PackageFacts {
  std::string name;        // Name=
  std::string detect;      // Detect=; empty when nothing tells
  std::string parameters;  // Parameters=; empty when nothing tells
  bool servicing_stack = false;
  std::string found;    // "KB5034441, x64, from its properties"
  std::string missing;  // what could not be told, and why; empty when nothing is missing
};

// `file` is the package's file name (without folders), `english` chooses the
// words of Name. Never throws for a damaged file: what its name tells, and
// the reason in `missing`.
PackageFacts ReadPackage(const std::string& file, release::ByteSource& source, bool english);

// The KB number in a file name ("windows10.0-kb5034441-x64_ab12.msu" → "5034441"); empty without
// one.
std::string KbNumberInName(const std::string& file);

}  // namespace check
