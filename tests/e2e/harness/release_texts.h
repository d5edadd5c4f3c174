// The texts of a release for the end-to-end tests: Settings.ini and Language.ini in UTF-8,
// with non-ASCII characters throughout so that the program's ANSI decoding is exercised.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "release/words.h"

namespace e2e {

// Side pictures the settings name ([Images] Image1 to Image4) and the release folder holds.
extern const std::vector<std::string> kSidePictures;

struct ReleaseSettings {
  std::string name = "Musterrelease für Wine – Test";
  std::optional<std::string> files;  // the Files value as written; unset: `packages`
  int packages = 3;                  // [File1] ... sections
  bool allow_advanced = false;
  std::vector<std::string> pre_install = {
      "Willkommen zur Installation des Musterrelease.", "",
      "Setup installiert jetzt die Updates – bitte schließen Sie alle Programme."};
  std::vector<std::string> post_install;
  std::vector<std::string> license;

  std::string Text() const;  // the whole Settings.ini
};

// Lines of a text block as the program joins them: each ends with a carriage return.
std::string JoinedBlock(const std::vector<std::string>& lines);

// Word n (1 to 77, by its name release::kWord...) of the language file below; none equals a
// built-in caption of the forms, so a word shown proves that it was read.
std::string Word(release::WordNumber word);
std::string LanguageText();  // the whole Language.ini

}  // namespace e2e
