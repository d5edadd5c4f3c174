// The words of Language.ini: missing ones, with what the user sees instead,
// and the group captions whose blanks the reader drops.
#include <set>

#include "check/checks.h"
#include "check/names.h"

namespace check {

namespace {

// The group captions of the installation page (GBStatus, GBFortschritt):
// their built-in texts carry a blank at each end, which only quotes keep.
constexpr int kGroupCaptions[] = {release::kWordStatusGroup, release::kWordProgressGroup};

// Words whose key has another form than 001 (CheckStructure names those).
std::set<int> MisformedWords(const IniDocument& doc) {
  std::set<int> numbers;
  for (const release::IniLine& line : doc.outline) {
    if (line.kind != release::IniLine::Kind::Key || !line.counts || Fold(line.section) != "words")
      continue;
    if (const auto n = NumberAfter(line.key, "")) numbers.insert(*n);
  }
  return numbers;
}

}  // namespace

void CheckWords(const ReleaseView& view, Report& report) {
  const IniDocument& doc = view.language;
  if (!doc.Section("Words")) {
    report.Add("words-section-missing", Severity::Error, doc.name, "Words", {},
               "the file has no section [Words]: every word shows " +
                   Quoted(release::WordTable::kFallback) + " or its built-in German text",
               "put the words into a section [Words]");
    return;
  }
  const std::set<int> misformed = MisformedWords(doc);
  for (int n = 1; n <= release::WordTable::kCount; ++n) {
    const std::string key = release::PadKeyNumber(n);
    if (doc.Value("Words", key) || misformed.count(n)) continue;
    const bool original = n <= release::WordTable::kOriginalCount;
    report.AtKey("word-missing", original ? Severity::Error : Severity::Warning, doc, "Words", key,
                 "word " + std::to_string(n) + " is missing: the user sees " +
                     Quoted(release::WordTable::Missing(n)) + " instead",
                 "add " + key + "=<text> to [Words]");
  }
  for (const int n : kGroupCaptions) {
    const release::IniLine* line = doc.Value("Words", release::PadKeyNumber(n));
    if (!line || line->quoted || !line->blanks_dropped) continue;
    report.AtLine("word-blanks-lost", Severity::Warning, doc, *line,
                  "the blanks around " + Quoted(line->value) +
                      " are dropped without quotes: the group caption on the installation page "
                      "touches its frame",
                  "write " + line->key + "=\" " + line->value + " \"");
  }
}

}  // namespace check
