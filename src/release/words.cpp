#include "release/words.h"

#include "release/errors.h"
#include "release/settings.h"

namespace release {

std::string WordTable::Missing(int n) {
  switch (n) {
    case 78:
      return "Die Installation wurde abgeschlossen, aber nicht alle Dateien konnten installiert "
             "werden:";
    case 79:
      return "Fehlercode";
    case 80:
      return "nicht gestartet";
    default:
      return kFallback;
  }
}

WordTable::WordTable() {
  for (int n = 1; n <= kCount; ++n) words_[n - 1] = Missing(n);
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
    words[n] = ini.ReadString("Words", PadKeyNumber(n), WordTable::Missing(n));
  }
  return words;
}

}  // namespace release
