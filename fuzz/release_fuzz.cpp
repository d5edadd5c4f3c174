// Loading a release's settings and words from any two files (Settings.ini, then Language.ini,
// separated by a form feed): only the documented errors come out, and what is loaded keeps its
// shape: as many lines as a block's count says, as many packages as "Files" says, every word.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "release/errors.h"
#include "release/ini_file.h"
#include "release/integer_text.h"
#include "release/settings.h"
#include "release/words.h"

namespace {

void CheckBlock(const release::IniFile& ini, const char* block, const std::string& text) {
  const int count = std::max(0, ini.ReadInteger("Lines", block, 0));
  fuzz::Require(std::count(text.begin(), text.end(), '\r') >= count,
                "a text block has its count of lines");
  fuzz::Require(count > 0 || text.empty(), "a block without a count is empty");
}

// Loads the settings; false when the load stopped with the error of a count above 1000.
bool CheckSettings(const release::IniFile& ini, release::SetupSettings& settings) {
  try {
    settings = release::LoadSettings(ini);
  } catch (const release::RangeError&) {
    return false;
  }
  CheckBlock(ini, "PreInstall", settings.PreInstall);
  CheckBlock(ini, "PostInstall", settings.PostInstall);
  CheckBlock(ini, "License", settings.License);
  return true;
}

void CheckPackages(const release::IniFile& ini, const std::string& files) {
  const auto count = release::ParseInteger(files);
  release::PackageTable table;
  try {
    release::LoadPackageTable(ini, files, table);
  } catch (const release::ConvertError&) {
    fuzz::Require(!count, "only a text that is no integer fails to convert");
    return;
  } catch (const release::RangeError&) {
    fuzz::Require(count && *count > release::PackageTable::kCapacity,
                  "only a count above 1000 is out of range");
    return;
  }
  fuzz::Require(count && table.Count() == std::max(0, *count), "the table has 'Files' packages");
  for (int i = 1; i <= table.Count(); ++i) {
    fuzz::Require(table[i].File == ini.ReadString("File" + std::to_string(i), "File", ""),
                  "a package's file is its section's");
  }
}

void CheckWords(const release::IniFile& ini) {
  const release::WordTable words = release::LoadWords(ini);
  for (int n = 1; n <= release::WordTable::kCount; ++n) {
    fuzz::Require(fuzz::IsUtf8(words[n]), "a word is valid UTF-8");
    fuzz::Require(!words[n].empty() || ini.ReadString("Words", release::PadKeyNumber(n), "-") == "",
                  "only a word written empty is empty");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto files = fuzz::Parts({reinterpret_cast<const char*>(data), size}, 2);
  const release::IniFile settings_ini = release::IniFile::Parse(fuzz::Decoded(files[0]));
  release::SetupSettings settings;
  if (CheckSettings(settings_ini, settings)) CheckPackages(settings_ini, settings.Files);
  CheckWords(release::IniFile::Parse(fuzz::Decoded(files[1])));
  return 0;
}
