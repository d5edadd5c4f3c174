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
    case 81:
      return "Bezeichnung";
    case 82:
      return "Alle auswählen";
    case 83:
      return "Auswahl aufheben";
    case 84:
      return "Auswählen";
    case 85:
      return "Details";
    case 86:
      return "Bestätigen";
    case 87:
      return "&Ja";
    case 88:
      return "&Nein";
    case 89:
      return "Automatischer Neustart";
    case 90:
      return "Das System wird in %d Sekunden neu gestartet. Klicken Sie auf \"Abbrechen\", um den "
             "Vorgang abzubrechen.";
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
