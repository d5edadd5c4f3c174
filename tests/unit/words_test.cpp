#include "release/words.h"

#include <gtest/gtest.h>

#include "fake_system.h"
#include "release/errors.h"

namespace {

using release::IniFile;
using release::WordTable;

TEST(LoadWords, EveryWordFallsBackWithoutALanguageFile) {
  const WordTable words = release::LoadWords(IniFile());
  for (int n = 1; n <= WordTable::kOriginalCount; ++n) {
    EXPECT_EQ(words[n], "Error in Language File");
  }
  // The later words have German texts of their own: an older file lacks them.
  EXPECT_EQ(words[78],
            "Die Installation wurde abgeschlossen, aber nicht alle Dateien konnten installiert "
            "werden:");
  EXPECT_EQ(words[79], "Fehlercode");
  EXPECT_EQ(words[80], "nicht gestartet");
}

TEST(LoadWords, ReadsThreeDigitKeysOfTheWordsSection) {
  const auto ini = IniFile::Parse(
      "[Words]\n001=< Zurück\n2=unpadded\n041=\" Status \"\n077=last\n079=Exit code\n090=Restart "
      "in %d s\n091=ignored\n"
      "[Other]\n003=wrong section\n");
  const WordTable words = release::LoadWords(ini);
  EXPECT_EQ(words[1], "< Zurück");
  EXPECT_EQ(words[2], "Error in Language File");
  EXPECT_EQ(words[3], "Error in Language File");
  EXPECT_EQ(words[41], " Status ");
  EXPECT_EQ(words[77], "last");
  EXPECT_EQ(words[79], "Exit code");
  EXPECT_EQ(words[90], "Restart in %d s");
  EXPECT_EQ(words[81], "Bezeichnung");  // a later word the file lacks
  EXPECT_EQ(words[113], "nicht zutreffend");
  EXPECT_EQ(words[116], "&Trotzdem installieren");
  EXPECT_EQ(words[117], "Ein Installationsprogramm für Update-Pakete.");
  EXPECT_EQ(words[118].substr(0, 31), "Der Ordner der Installation %s ");
  EXPECT_EQ(words[126], "'%s' ist kein gültiger Integerwert");
  EXPECT_EQ(words[133].rfind("Soll Setup aufhören, auf das andere", 0), 0u);  // the last word
  EXPECT_THROW(words[134], release::RangeError);
  EXPECT_THROW(words[0], release::RangeError);
}

TEST(LoadWords, GermanWordsFromAnAnsiFile) {
  test::FakeSystem system;
  system.files["C:\\Release\\Data\\Language.ini"] =
      "[Words]\n012=Installationsmethode ausw\xE4hlen\n";
  const WordTable words =
      release::LoadWords(IniFile::Load(system, system.ProgramFolder() + "Data\\Language.ini"));
  EXPECT_EQ(words[12], "Installationsmethode auswählen");
}

}  // namespace
