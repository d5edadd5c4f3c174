// Adding or refreshing the packages' Sha256= in the bytes of Settings.ini,
// the rest of the file left as it was: its encoding (ANSI, UTF-8 or UTF-16 LE,
// with or without byte-order mark), its line ends, comments, the order of
// its sections and keys, the way each line is written.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/finding.h"
#include "check/release_files.h"
#include "release/ini_file.h"

namespace check {

// What became of one package's Sha256= line.
struct ChecksumChange {
  enum class Kind { Added, Refreshed, Unchanged };
  int package = 0;
  Kind kind = Kind::Unchanged;
  int line = 0;        // of the key in the new text, from 1
  std::string before;  // the value it had (Refreshed)
};

// The bytes of a Settings.ini with Sha256= set to the checksum given per
// package number. A key the installer reads is given its new value; a
// section without one gets it after its last key. `outline` is what
// IniFile::Decode made of the same bytes. A package without a section of its
// own is left out. `changes` gets one entry per package set, in order.
// Throws std::invalid_argument, with what is wrong, for UTF-16 bytes of an
// odd count, whose cut last character no line can be added after.
std::string SetChecksums(std::string_view bytes, const std::vector<release::IniLine>& outline,
                         const std::map<int, std::string>& sha256,
                         std::vector<ChecksumChange>& changes);

// The bytes of an INI file with the value of the key at `line` (from 1) set
// to `value` (ASCII), and the lines of `tail` (UTF-8) added at its end: in the
// file's encoding (ANSI as Windows-1252, "?" for a letter it lacks) and with
// its line ends; every other byte stays. Throws std::invalid_argument as
// SetChecksums does.
std::string ExtendIni(std::string_view bytes, int line, const std::string& value,
                      const std::vector<std::string>& tail);

// What "release-check --update-sha256" did: each package's file hashed and
// its checksum written into Data\Settings.ini.
struct ChecksumUpdate {
  std::vector<ChecksumChange> changes;
  // Package files that could not be read: their Sha256= stays as it was.
  std::vector<Finding> problems;
  // Why Settings.ini could not be read or written; the release stays as it was.
  std::string failure;
};

// Nothing when the folder holds no release.
std::optional<ChecksumUpdate> UpdateChecksums(ReleaseFiles& files);

// The SHA-256 of a release's file; nothing, with the reason, when it can't be read.
std::optional<std::string> HashFile(ReleaseFiles& files, const std::string& path,
                                    std::string& reason);

}  // namespace check
