// Package files the readers' tests make once per run with the Debian tools
// (gcab, wixl and msibuild, the mingw-w64 compilers and windres) in a folder
// of their own, a helper that runs a command, and the places of an MSI's
// tables in its file, for damaging them.
#pragma once

#include <filesystem>
#include <string>

namespace package_test {

namespace fs = std::filesystem;

struct MadeFiles {
  ~MadeFiles() {
    std::error_code error;
    fs::remove_all(folder, error);
  }
  fs::path folder;  // every file below lies here, removed at the end of the run
  // Cabinets as .msu: properties in ANSI (stored) and UTF-16 (MSZIP), named as
  // Windows names them; a servicing stack update renamed so that only its
  // properties tell the KB number.
  fs::path msu_stored, msu_mszip, msu_renamed_ssu;
  fs::path msi_1252, msi_65001;  // wixl, non-ASCII and "&"; their one cabinet is embedded
  // Disks 1 to 4: cabinets beside it on 1 and 4 (non-ASCII), embedded on 2,
  // none on 3; Windows-1252.
  fs::path msi_external;
  fs::path msi_no_media;  // without a Media table
  fs::path exe64, exe32;  // with a version resource
  fs::path nsis;          // an installer made by makensis, with a version resource
};

// Made on first use; a test fails when a tool is missing.
const MadeFiles& Made();

std::string ReadAll(const fs::path& file);
void WriteAll(const fs::path& file, const std::string& bytes);

// Where in an MSI's bytes a table's stream begins (found by its first
// `length` bytes, which the file holds once), and its directory entry (name
// at 0, size at 120), found by its name; throws when it is not found once.
std::size_t StreamAt(const std::string& msi, const std::string& table, std::size_t length);
std::size_t EntryAt(const std::string& msi, const std::string& table);

}  // namespace package_test
