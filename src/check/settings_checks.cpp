// [Main], [Defaults], the package sections that Files asks for, and the text
// blocks with their counts in [Lines].
#include <algorithm>

#include "about/web_address.h"
#include "check/checks.h"
#include "check/names.h"
#include "frame/run_record.h"
#include "release/errors.h"
#include "release/integer_text.h"

namespace check {

namespace {

using release::IniLine;

std::string SectionName(int n) {
  return "[File" + std::to_string(n) + "]";
}

// Package sections in another form than [FileN], by their number.
std::vector<int> MisformedPackageSections(const IniDocument& doc) {
  std::vector<int> numbers;
  for (const IniLine& line : doc.outline) {
    if (line.kind != IniLine::Kind::Section || !line.counts) continue;
    const auto n = NumberAfter(line.section, "file");
    if (n && Fold(line.section) != "file" + std::to_string(*n)) numbers.push_back(*n);
  }
  return numbers;
}

void CheckFiles(const ReleaseView& view, Report& report) {
  const IniDocument& doc = view.settings;
  const std::string& text = view.seen.Files;
  const std::string shown = "Files=" + text;
  if (!view.files) {
    report.AtKey("files-not-a-number", Severity::Error, doc, "Main", "Files",
                 (doc.Value("Main", "Files") ? shown + " is not a number"
                                             : std::string("[Main] has no Files")) +
                     ": the installer stops at start with \"" + release::ConvertError(text).what() +
                     "\"",
                 "set Files to the number of packages (" + std::to_string(view.package_count) +
                     " by the [FileN] sections)");
    return;
  }
  if (*view.files < 0) {
    report.AtKey("files-negative", Severity::Warning, doc, "Main", "Files",
                 shown + " is negative: the installer shows no packages",
                 "set Files to the number of packages");
  } else if (*view.files > release::PackageTable::kCapacity) {
    report.AtKey("files-above-bound", Severity::Error, doc, "Main", "Files",
                 shown + " is above " + std::to_string(release::PackageTable::kCapacity) +
                     ": the installer stops at start with \"" + release::RangeError().what() + "\"",
                 "set Files to the number of packages, at most " +
                     std::to_string(release::PackageTable::kCapacity));
  }
}

void CheckPackageSections(const ReleaseView& view, Report& report) {
  const IniDocument& doc = view.settings;
  const std::vector<int> misformed = MisformedPackageSections(doc);
  std::vector<int> missing;
  for (int n = 1; n <= view.package_count; ++n) {
    if (!doc.Section("File" + std::to_string(n)) &&
        std::find(misformed.begin(), misformed.end(), n) == misformed.end())
      missing.push_back(n);
  }
  if (missing.empty()) return;
  const int present = view.package_count - static_cast<int>(missing.size());
  report.AtKey("file-sections-missing", Severity::Error, doc, "Main", "Files",
               Ranges(missing, SectionName) + (missing.size() == 1 ? " is" : " are") +
                   " missing: the package list shows " + std::to_string(missing.size()) +
                   (missing.size() == 1 ? " empty row that installs" : " empty rows that install") +
                   " nothing",
               "add the sections, or set Files=" + std::to_string(present) +
                   " if the release has " + std::to_string(present) +
                   (present == 1 ? " package" : " packages"));
}

void CheckMainTexts(const ReleaseView& view, Report& report) {
  const IniDocument& doc = view.settings;
  if (view.seen.Name.empty()) {
    report.AtKey("name-empty", Severity::Warning, doc, "Main", "Name",
                 "the release has no name: window titles, the tray tip and the About dialog "
                 "show none",
                 "set Name in [Main]");
  }
  if (view.seen.Version.empty()) {
    report.AtKey("version-empty", Severity::Warning, doc, "Main", "Version",
                 std::string("the release has no version: the value ") + frame::kRecordVersion +
                     " of the record for deployment tools (" + frame::RunRecordKey(view.seen.Name) +
                     ") stays empty, so their detection rule can't tell this release from "
                     "another",
                 "set Version in [Main], a new one for each release");
  }
  const std::string& website = view.seen.Website;
  if (!website.empty() && !about::HasScheme(website)) {
    report.AtKey("website-without-scheme", Severity::Warning, doc, "Main", "Website",
                 Quoted(website) + " has no scheme: the About dialog opens " +
                     Quoted(about::LinkToOpen(website).address),
                 "write the address with its scheme, e.g. " + Quoted("https://" + website));
  } else if (!website.empty() && !about::LinkToOpen(website).opens) {
    report.AtKey("website-not-web", Severity::Warning, doc, "Main", "Website",
                 NotWebAddress(website, "About dialog"), kWebAddressHint);
  }
}

void CheckSwitches(const ReleaseView& view, Report& report) {
  const IniDocument& doc = view.settings;
  for (const std::string& key : view.settings_reads.Keys("Defaults")) {
    const std::string value = doc.ini.ReadString("Defaults", key, "");
    if (value.empty() || release::ParseInteger(value)) continue;
    report.AtKey("switch-not-a-number", Severity::Warning, doc, "Defaults", key,
                 key + "=" + value + " is not a number: the installer reads it as off",
                 "write " + key + "=1 for on or " + key + "=0 for off");
  }
}

}  // namespace

void CheckMain(const ReleaseView& view, Report& report) {
  CheckFiles(view, report);
  CheckPackageSections(view, report);
  CheckMainTexts(view, report);
  CheckSwitches(view, report);
}

namespace {

std::string LineName(int n) {
  return "Line" + release::PadKeyNumber(n);
}

// One text block: its count in [Lines] against the lines of its section.
class BlockCheck {
 public:
  BlockCheck(const ReleaseView& view, const std::string& block, Report& report)
      : doc_(view.settings), block_(block), report_(report) {
    FindLines();
    const std::string text = doc_.ini.ReadString("Lines", block_, "");
    count_text_ = "[Lines] " + block_ + "=" + text;
    const std::optional<int> parsed = release::ParseInteger(text);
    count_ = parsed ? std::max(*parsed, 0) : 0;
    if (!text.empty() && !parsed) NotANumber();
    over_bound_ = std::find(view.blocks_over_bound.begin(), view.blocks_over_bound.end(), block_) !=
                  view.blocks_over_bound.end();
    if (over_bound_) AboveBound();
  }

  void Run() {
    Missing();
    Beyond();
  }

 private:
  // Lines in the installer's form, and lines in another (CheckStructure names those).
  void FindLines() {
    for (const IniLine& line : doc_.outline) {
      if (line.kind != IniLine::Kind::Key || !line.counts || Fold(line.section) != Fold(block_))
        continue;
      const auto n = NumberAfter(line.key, "line");
      if (!n || *n == 0) continue;
      (Fold(line.key) == Fold(LineName(*n)) ? present_ : misformed_).push_back(*n);
    }
    std::sort(present_.begin(), present_.end());
  }

  std::string CountFix() const {
    return "set " + block_ + " to the number of lines (" +
           std::to_string(present_.empty() ? 0 : present_.back()) + ")";
  }

  void NotANumber() {
    report_.AtKey("lines-count-not-a-number", Severity::Error, doc_, "Lines", block_,
                  count_text_ + " is not a number: the installer reads 0 and shows none of the " +
                      block_ + " text",
                  CountFix());
  }

  void AboveBound() {
    count_ = release::kMaxBlockLines;
    report_.AtKey("lines-above-bound", Severity::Error, doc_, "Lines", block_,
                  count_text_ + " is above " + std::to_string(release::kMaxBlockLines) +
                      ": the installer stops at start with \"" + release::RangeError().what() +
                      "\"",
                  CountFix());
  }

  // Lines below the count that the section lacks; none when the count stops the start.
  void Missing() {
    std::vector<int> missing;
    for (int n = 1; n <= count_ && !over_bound_; ++n) {
      if (!std::binary_search(present_.begin(), present_.end(), n) &&
          std::find(misformed_.begin(), misformed_.end(), n) == misformed_.end())
        missing.push_back(n);
    }
    if (missing.empty()) return;
    const std::string message =
        doc_.Section(block_) ? Ranges(missing, LineName) + (missing.size() == 1 ? " is" : " are") +
                                   " missing from [" + block_ + "]: " + count_text_ +
                                   " shows empty lines in their place"
                             : "there is no section [" + block_ + "]: " + count_text_ + " shows " +
                                   std::to_string(count_) + " empty lines";
    report_.AtKey("lines-missing", Severity::Warning, doc_, "Lines", block_, message,
                  "add the lines (an empty line is " + LineName(missing.front()) +
                      "=), or correct the count");
  }

  void Beyond() {
    std::vector<int> beyond;
    for (const int n : present_) {
      if (n > count_) beyond.push_back(n);
    }
    if (beyond.empty()) return;
    const std::string why = doc_.Value("Lines", block_) ? count_text_ : "[Lines] has no " + block_;
    report_.AtKey(
        "lines-beyond-count", Severity::Warning, doc_, block_, LineName(beyond.front()),
        Ranges(beyond, LineName) + (beyond.size() == 1 ? " is" : " are") + " not shown: " + why,
        "set " + block_ + "=" + std::to_string(present_.back()) + " in [Lines]");
  }

  const IniDocument& doc_;
  const std::string& block_;
  Report& report_;
  std::vector<int> present_, misformed_;
  std::string count_text_;
  int count_ = 0;
  bool over_bound_ = false;
};

}  // namespace

void CheckBlocks(const ReleaseView& view, Report& report) {
  for (const std::string& block : view.Blocks()) BlockCheck(view, block, report).Run();
}

}  // namespace check
