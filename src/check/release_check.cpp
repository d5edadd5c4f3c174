#include "check/release_check.h"

#include "check/checks.h"
#include "check/release_view.h"
#include "check/report.h"
#include "release/errors.h"

namespace check {

namespace {

// A file that can't be read: one finding, and nothing else about it.
bool Readable(const IniDocument& doc, const std::string& consequence, Report& report) {
  if (doc.readable) return true;
  const bool missing = doc.kind == EntryKind::Missing;
  const std::string file = doc.name.substr(doc.name.rfind('\\') + 1);
  report.Add(missing ? "file-missing" : "file-unreadable", Severity::Error, doc.name, {}, {},
             file + (missing ? " is missing" : " can't be read") + ": " + consequence,
             missing ? "put " + file + " into Data" : "make " + file + " a readable file");
  return false;
}

}  // namespace

std::optional<std::vector<Finding>> CheckRelease(ReleaseFiles& files) {
  std::optional<ReleaseView> view = LoadRelease(files);
  if (!view) return std::nullopt;
  Report report;
  if (Readable(view->settings,
               "the installer stops at start with \"" +
                   std::string(release::ConvertError("").what()) + "\"",
               report)) {
    if (CheckText(view->settings, view->settings_reads, report))
      CheckStructure(*view, view->settings, view->settings_reads, report);
    CheckMain(*view, report);
    CheckBlocks(*view, report);
    CheckPackages(*view, files, report);
  }
  if (Readable(view->language,
               "every word shows \"" + std::string(release::WordTable::kFallback) +
                   "\" or its built-in German text",
               report)) {
    if (CheckText(view->language, view->language_reads, report))
      CheckStructure(*view, view->language, view->language_reads, report);
    CheckWords(*view, report);
  }
  CheckPictures(*view, files, report);
  CheckSignatures(*view, files, report);
  return report.Sorted();
}

}  // namespace check
