#include "release/words.h"

#include "release/errors.h"
#include "release/settings.h"

namespace release {

WordTable::WordTable() {
  words_.fill(kFallback);
}

std::string& WordTable::operator[](int n) {
  if (n < 1 || n > kCount) throw RangeError();
  return words_[n - 1];
}

const std::string& WordTable::operator[](int n) const {
  return const_cast<WordTable&>(*this)[n];
}

WordTable LoadWords(const Profile& ini) {
  WordTable words;
  for (int n = 1; n <= WordTable::kCount; ++n) {
    words[n] = ini.ReadString("Words", PadKeyNumber(n), WordTable::kFallback);
  }
  return words;
}

}  // namespace release
