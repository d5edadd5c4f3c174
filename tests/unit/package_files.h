// Package files the readers' tests make once per run with the Debian tools
// (gcab, wixl, the mingw-w64 compilers and windres) in a folder of their own,
// and a helper that runs a command.
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
  fs::path msi_1252, msi_65001;  // wixl, non-ASCII and "&"
  fs::path exe64, exe32;         // with a version resource
  fs::path nsis;                 // an installer made by makensis, with a version resource
};

// Made on first use; a test fails when a tool is missing.
const MadeFiles& Made();

std::string ReadAll(const fs::path& file);
void WriteAll(const fs::path& file, const std::string& bytes);

}  // namespace package_test
