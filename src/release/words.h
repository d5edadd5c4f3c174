// The numbered texts of the user interface, from Data\Language.ini.
#pragma once

#include <array>
#include <string>

#include "release/ini_file.h"

namespace release {

class WordTable {
 public:
  // Words 1 to 77 of the original set, then the words that came later.
  static constexpr int kCount = 117;
  static constexpr int kOriginalCount = 77;
  static constexpr const char* kFallback = "Error in Language File";

  // A missing word of the original set shows kFallback; a later one its
  // built-in German text, so that an older Language.ini still reads well.
  static std::string Missing(int n);

  WordTable();

  // Word n, 1 <= n <= kCount; throws RangeError otherwise.
  const std::string& operator[](int n) const;
  std::string& operator[](int n);

 private:
  std::array<std::string, kCount> words_;
};

// Words 1 to kCount from the keys 001, 002, ... of [Words].
WordTable LoadWords(const Profile& ini);

}  // namespace release
