// [Main], [Defaults], the package sections that Files asks for, and the text
// blocks with their counts in [Lines].
#include <algorithm>

#include "about/web_address.h"
#include "check/checks.h"
#include "check/names.h"
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
                   " if the release has " + std::to_string(present) + " packages");
}

void CheckMainTexts(const ReleaseView& view, Report& report) {
  const IniDocument& doc = view.settings;
  if (view.seen.Name.empty()) {
    report.AtKey("name-empty", Severity::Warning, doc, "Main", "Name",
                 "the release has no name: window titles, the tray tip and the About dialog "
                 "show none",
                 "set Name in [Main]");
  }
  const std::string& website = view.seen.Website;
  if (!website.empty() && !about::HasScheme(website)) {
    report.AtKey("website-without-scheme", Severity::Warning, doc, "Main", "Website",
                 Quoted(website) + " has no scheme: the About dialog opens " +
                     Quoted(about::WebsiteToOpen(website)),
                 "write the address with its scheme, e.g. " + Quoted("https://" + website));
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

void CheckBlocks(const ReleaseView& view, Report& report) {
  const IniDocument& doc = view.settings;
  for (const std::string& block : view.Blocks()) {
    const auto line_name = [](int n) { return "Line" + release::PadKeyNumber(n); };
    // Lines in the installer's form, and lines in another (CheckStructure names those).
    std::vector<int> present, misformed;
    for (const IniLine& line : doc.outline) {
      if (line.kind != IniLine::Kind::Key || !line.counts || Fold(line.section) != Fold(block))
        continue;
      const auto n = NumberAfter(line.key, "line");
      if (!n || *n == 0) continue;
      (Fold(line.key) == Fold(line_name(*n)) ? present : misformed).push_back(*n);
    }
    std::sort(present.begin(), present.end());

    const std::string text = doc.ini.ReadString("Lines", block, "");
    const std::optional<int> parsed = release::ParseInteger(text);
    const std::string count_text = "[Lines] " + block + "=" + text;
    const bool over_bound = std::find(view.blocks_over_bound.begin(), view.blocks_over_bound.end(),
                                      block) != view.blocks_over_bound.end();
    int count = parsed ? std::max(*parsed, 0) : 0;
    if (!text.empty() && !parsed) {
      report.AtKey(
          "lines-count-not-a-number", Severity::Error, doc, "Lines", block,
          count_text + " is not a number: the installer reads 0 and shows none of the " + block +
              " text",
          "set " + block + " to the number of lines" +
              (present.empty() ? std::string() : " (" + std::to_string(present.back()) + ")"));
    } else if (over_bound) {
      count = release::kMaxBlockLines;
      report.AtKey("lines-above-bound", Severity::Error, doc, "Lines", block,
                   count_text + " is above " + std::to_string(release::kMaxBlockLines) +
                       ": the installer stops at start with \"" + release::RangeError().what() +
                       "\"",
                   "set " + block + " to the number of lines" +
                       (present.empty() ? std::string(" (0)")
                                        : " (" + std::to_string(present.back()) + ")"));
    }

    std::vector<int> missing, beyond;
    for (int n = 1, i = 0; n <= count && !over_bound; ++n) {
      while (i < static_cast<int>(present.size()) && present[i] < n) ++i;
      if ((i == static_cast<int>(present.size()) || present[i] != n) &&
          std::find(misformed.begin(), misformed.end(), n) == misformed.end())
        missing.push_back(n);
    }
    for (const int n : present) {
      if (n > count) beyond.push_back(n);
    }
    if (!missing.empty()) {
      const bool none = !doc.Section(block);
      report.AtKey("lines-missing", Severity::Warning, doc, "Lines", block,
                   (none ? "there is no section [" + block + "]: " + count_text + " shows " +
                               std::to_string(count) + " empty lines"
                         : Ranges(missing, line_name) + (missing.size() == 1 ? " is" : " are") +
                               " missing from [" + block + "]: " + count_text +
                               " shows empty lines in their place"),
                   "add the lines (an empty line is " + line_name(missing.front()) +
                       "=), or correct the count");
    }
    if (!beyond.empty()) {
      const std::string why = doc.Value("Lines", block) ? count_text : "[Lines] has no " + block;
      report.AtKey(
          "lines-beyond-count", Severity::Warning, doc, block, line_name(beyond.front()),
          Ranges(beyond, line_name) + (beyond.size() == 1 ? " is" : " are") + " not shown: " + why,
          "set " + block + "=" + std::to_string(present.back()) + " in [Lines]");
    }
  }
}

}  // namespace check
