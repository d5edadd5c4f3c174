// Sections and keys that the installer does not read. Which ones it reads is
// not listed here: the installer's own loading code said so (ReadLog).
#include <climits>

#include "check/checks.h"
#include "check/names.h"
#include "release/settings.h"
#include "release/words.h"

namespace check {

namespace {

using release::IniLine;

// The nearest of `candidates` that `written` is close to; empty when none.
std::string Nearest(const std::string& written, const std::vector<std::string>& candidates) {
  std::string best;
  int best_distance = INT_MAX;
  for (const std::string& candidate : candidates) {
    if (!IsClose(written, candidate)) continue;
    const int distance = EditDistance(Fold(written), Fold(candidate));
    if (distance < best_distance) best = candidate, best_distance = distance;
  }
  return best;
}

class StructureCheck {
 public:
  StructureCheck(const ReleaseView& view, const IniDocument& doc, const ReadLog& reads,
                 Report& report)
      : view_(view), doc_(doc), reads_(reads), report_(report) {}

  void Run() {
    bool look_at_keys = false;
    const IniLine* last_section = nullptr;
    for (const IniLine& line : doc_.outline) {
      switch (line.kind) {
        case IniLine::Kind::Outside:
          report_.AtLine("key-outside-section", Severity::Warning, doc_, line,
                         "the line stands before the first section: the installer ignores it",
                         "move it into its section");
          break;
        case IniLine::Kind::BrokenSection:
          report_.AtLine(
              "section-header-broken", Severity::Error, doc_, line,
              "\"[" + line.section + "\" lacks its \"]\": the installer ignores the line" +
                  (last_section && last_section->counts
                       ? ", and the keys below it count for [" + last_section->section + "]"
                       : std::string()),
              "write [" + line.section + "]");
          break;
        case IniLine::Kind::Section:
          look_at_keys = SectionLine(line);
          last_section = &line;
          break;
        case IniLine::Kind::Key:
          if (look_at_keys) KeyLine(line);
          break;
      }
    }
  }

 private:
  bool Known(const std::string& section) const {
    return reads_.SectionRead(section) || (&doc_ == &view_.settings && view_.IsBlock(section));
  }

  std::vector<std::string> KnownSections() const {
    std::vector<std::string> names = reads_.Sections();
    if (&doc_ == &view_.settings) {
      for (const std::string& block : view_.Blocks()) names.push_back(block);
    }
    return names;
  }

  // Whether the keys of the section are to be looked at.
  bool SectionLine(const IniLine& line) {
    if (!line.counts) {
      const IniLine* first = doc_.Section(line.section);
      report_.AtLine("section-repeated", Severity::Warning, doc_, line,
                     "the section appears a second time (first on line " +
                         std::to_string(first ? first->line : 0) +
                         "): the installer ignores this one and every key in it",
                     "move its keys into the first [" + line.section + "] and remove this one");
      return false;
    }
    if (Known(line.section)) return true;

    if (const auto n = NumberAfter(line.section, "file")) {
      const std::string form = "File" + std::to_string(*n);
      if (Fold(line.section) != Fold(form)) {
        report_.AtLine("section-form", Severity::Error, doc_, line,
                       "the installer reads package " + std::to_string(*n) + " from [" + form +
                           "], not from [" + line.section + "]",
                       "rename the section [" + form + "]");
      } else if (*n == 0) {
        report_.AtLine("file-section-beyond-count", Severity::Warning, doc_, line,
                       "there is no package 0: the installer reads [File1] to [FileN]",
                       "renumber the package sections from [File1]");
      } else if (view_.files) {
        report_.AtLine("file-section-beyond-count", Severity::Warning, doc_, line,
                       "[Main] Files=" + std::to_string(*view_.files) + ": package " +
                           std::to_string(*n) + " is not installed",
                       "set Files in [Main] to the number of packages, or remove the section");
      }
      return false;
    }
    const std::string nearest = Nearest(line.section, KnownSections());
    if (!nearest.empty()) {
      const bool both = doc_.Section(nearest) != nullptr;
      report_.AtLine(
          "section-misspelt", both ? Severity::Warning : Severity::Error, doc_, line,
          "the installer does not read [" + line.section + "]; it reads [" + nearest + "]" +
              (both ? ", which the file has as well" : ""),
          both ? "move its keys into [" + nearest + "]" : "rename the section [" + nearest + "]");
    } else {
      report_.AtLine("section-unknown", Severity::Warning, doc_, line,
                     "the installer does not read this section", "remove it or correct its name");
    }
    return false;
  }

  void KeyLine(const IniLine& line) {
    if (!line.counts) {
      const IniLine* first = doc_.Value(line.section, line.key);
      if (first && first->value != line.value) {
        report_.AtLine("key-repeated", Severity::Warning, doc_, line,
                       "the key appears a second time: the installer takes the first one (line " +
                           std::to_string(first->line) + ", " + Quoted(first->value) +
                           ") and ignores " + Quoted(line.value),
                       "keep one " + line.key + " in [" + line.section + "]");
      }
      return;
    }
    if (reads_.WasRead(line.section, line.key)) return;
    if (!line.has_equals) {
      report_.AtLine("line-without-equals", Severity::Warning, doc_, line,
                     "the line has no \"=\": the installer reads it as a key without a value",
                     "write " + line.key + "=<value>, or remove the line");
      return;
    }
    if (&doc_ == &view_.settings && view_.IsBlock(line.section) && LineKey(line)) return;
    if (&doc_ == &view_.language && Fold(line.section) == "words" && WordKey(line)) return;

    const std::string nearest = Nearest(line.key, reads_.Keys(line.section));
    if (!nearest.empty()) {
      const bool both = doc_.Value(line.section, nearest) != nullptr;
      report_.AtLine("key-misspelt", both ? Severity::Warning : Severity::Error, doc_, line,
                     "the installer does not read " + line.key + "; it reads " + nearest +
                         (both ? ", which the section has as well" : ""),
                     both ? "remove " + line.key : "rename the key " + nearest);
    } else {
      report_.AtLine("key-unknown", Severity::Warning, doc_, line,
                     "the installer does not read " + line.key + " in [" + line.section + "]",
                     "remove it or correct its name");
    }
  }

  // A line key of a text block in another form than the installer's.
  bool LineKey(const IniLine& line) {
    const auto n = NumberAfter(line.key, "line");
    if (!n) return false;
    const std::string form = "Line" + release::PadKeyNumber(*n);
    if (*n == 0) {
      report_.AtLine("line-key-form", Severity::Error, doc_, line,
                     "the installer reads lines from Line001 on: this line is never shown",
                     "renumber the lines from Line001");
    } else if (Fold(line.key) != Fold(form)) {
      const bool both = doc_.Value(line.section, form) != nullptr;
      report_.AtLine("line-key-form", both ? Severity::Warning : Severity::Error, doc_, line,
                     "the installer reads line " + std::to_string(*n) + " from " + form +
                         ", not from " + line.key +
                         (both ? ", which the section has as well" : ": the line stays empty"),
                     both ? "remove " + line.key : "rename the key " + form);
    }
    // A key in the installer's form beyond the count: CheckBlocks names those.
    return true;
  }

  // A word key in another form than the installer's, or beyond its words.
  bool WordKey(const IniLine& line) {
    const auto n = NumberAfter(line.key, "");
    if (!n) return false;
    const std::string form = release::PadKeyNumber(*n);
    if (*n >= 1 && *n <= release::WordTable::kCount) {
      const bool both = doc_.Value(line.section, form) != nullptr;
      report_.AtLine(
          "word-key-form", both ? Severity::Warning : Severity::Error, doc_, line,
          "the installer reads word " + std::to_string(*n) + " from " + form + ", not from " +
              line.key +
              (both ? ", which the section has as well"
                    : ": the user sees " + Quoted(release::WordTable::Missing(*n)) + " instead"),
          both ? "remove " + line.key : "rename the key " + form);
    } else {
      report_.AtLine("word-unknown", Severity::Warning, doc_, line,
                     "the installer has no word " + std::to_string(*n) + " (it reads 001 to " +
                         release::PadKeyNumber(release::WordTable::kCount) + ")",
                     "remove it or correct its number");
    }
    return true;
  }

  const ReleaseView& view_;
  const IniDocument& doc_;
  const ReadLog& reads_;
  Report& report_;
};

}  // namespace

void CheckStructure(const ReleaseView& view, const IniDocument& doc, const ReadLog& reads,
                    Report& report) {
  StructureCheck(view, doc, reads, report).Run();
}

}  // namespace check
