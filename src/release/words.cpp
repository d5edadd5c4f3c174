#include "release/words.h"

#include <iterator>

#include "release/errors.h"
#include "release/settings.h"

namespace release {

namespace {

// The built-in German texts of the words that came after the original set,
// from word 78 on.
constexpr const char* kLaterWords[] = {
    "Die Installation wurde abgeschlossen, aber nicht alle Dateien konnten installiert werden:",
    "Fehlercode",
    "nicht gestartet",
    "Bezeichnung",
    "Alle auswählen",
    "Auswahl aufheben",
    "Auswählen",
    "Details",
    "Bestätigen",
    "&Ja",
    "&Nein",
    "Automatischer Neustart",
    "Das System wird in %d Sekunden neu gestartet. Klicken Sie auf \"Abbrechen\", um den Vorgang "
    "abzubrechen.",
    "Informationen",
    "Fehler",
    "OK",
    "Die Installation wird nach dem nächsten Neustart des Computers fortgesetzt.",
    "Der Computer konnte nicht neu gestartet werden",
    "ein anderes Programm hat das Beenden verhindert",
    "Ein anderes Installationsprogramm läuft bereits. Bitte warten Sie, bis es beendet ist, und "
    "starten Sie dieses Programm danach erneut.",
    "Die Installation kann nach einem Neustart nicht fortgesetzt werden",
    "die Datei lässt sich nicht schreiben",
    "der Eintrag für den Start nach der Anmeldung lässt sich nicht schreiben",
    "Die Datei zur Fortsetzung der Installation ist unlesbar",
    "Sie wurde umbenannt in",
    "Sie wurde gelöscht.",
    "Sie ließ sich nicht entfernen.",
    "Ein anderes Installationsprogramm läuft gerade. Soll Setup warten, bis es beendet ist, und "
    "dann mit der Installation beginnen? Mit Nein bleiben Sie auf dieser Seite.",
    "Warte auf das andere Installationsprogramm...",
    "Die Installation wurde zweimal unterbrochen, während das Paket lief",
    "Warte auf den Ordner der Installation: %s",
    "Abbrechen",
    "Der Ordner der Installation ist nicht erreichbar. Die Installation wird nach der nächsten "
    "Anmeldung fortgesetzt.",
    "bereits installiert",
    "Die Datei ist beschädigt oder wurde verändert",
    "nicht zutreffend",
    "Windows wartet bereits auf einen Neustart des Computers. Updates, die vor diesem Neustart "
    "installiert werden, können fehlschlagen. Möchten Sie den Computer zuerst neu starten? Die "
    "Installation geht danach automatisch weiter.",
    "&Zuerst neu starten",
    "&Trotzdem installieren",
    "Ein Installationsprogramm für Update-Pakete.",
    "Der Ordner der Installation %s war bei drei Anmeldungen nicht erreichbar. Die Installation "
    "wurde abgebrochen.",
    "Installer.exe [/silent] [/norestart] [/log:Datei] [/resume:boot] [/release:Ordner]",
    "/silent\tinstalliert alle Pakete ohne Fragen und startet danach neu",
    "/norestart\tstartet den Computer nicht neu; ein nötiger Neustart bleibt dem Administrator "
    "(Rückgabewert 3010)",
    "/log:Datei\tschreibt das Installationsprotokoll in diese Datei; ein fehlender Ordner wird "
    "angelegt. Sonst: mit Administratorrechten %ProgramData%\\UpdatePackages\\Installer.log, "
    "ohne "
    "%TEMP%\\Installer.log",
    "/resume:boot\tsetzt die Installation nach einem Neustart beim Systemstart fort, ohne auf eine "
    "Anmeldung zu warten (als LocalSystem auch ohne den Schalter)",
    "/release:Ordner\tdie Fortsetzung nach einem Neustart: wartet bis zu 10 Minuten auf diesen "
    "Ordner der Installation und startet dann das Programm darin",
    "Rückgabewerte: 0 installiert, 3010 Neustart nötig, 1641 Neustart begonnen, 1602 abgebrochen, "
    "1603 ein Paket ist fehlgeschlagen, 1618 ein anderes Installationsprogramm läuft.",
    "'%s' ist kein gültiger Integerwert",
    "Fehler bei Bereichsprüfung",
    "Datei %s kann nicht geöffnet werden",
    "Bitmap ist ungültig",
    "Symbol ist ungültig",
    "Unbekannte Bilddateierweiterung (.%s)",
    "Für diese Art von Datei gibt es auf diesem System kein Installationsprogramm.",
    "Soll Setup aufhören, auf das andere Installationsprogramm zu warten? Es wurde noch nichts "
    "installiert. Mit Ja kehren Sie zur vorigen Seite zurück.",
};
static_assert(WordTable::kOriginalCount + std::size(kLaterWords) == WordTable::kCount,
              "a built-in text for every later word");

}  // namespace

std::string WordTable::Missing(int n) {
  if (n > kOriginalCount && n <= kCount) return kLaterWords[n - kOriginalCount - 1];
  return kFallback;
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

std::string WithDetail(std::string text, const std::string& detail) {
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, detail);
  return text;
}

}  // namespace release
