// The 77 numbered texts of the user interface, from Data\Language.ini.
#pragma once

#include <array>
#include <string>

#include "release/ini_file.h"

namespace release {

class WordTable {
 public:
  static constexpr int kCount = 77;
  static constexpr const char* kFallback = "Error in Language File";

  WordTable();

  // Word n, 1 <= n <= 77; throws RangeError otherwise.
  const std::string& operator[](int n) const;
  std::string& operator[](int n);

 private:
  std::array<std::string, kCount> words_;
};

// Words 1 to 77 from the keys 001 to 077 of [Words].
WordTable LoadWords(const Profile& ini);

}  // namespace release
