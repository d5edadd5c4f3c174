#include "check/report.h"

#include <algorithm>

namespace check {

void Report::Add(std::string id, Severity severity, std::string file, std::string section,
                 std::string key, std::string message, std::string fix) {
  findings_.push_back({std::move(id), severity, std::move(file), 0, std::move(section),
                       std::move(key), std::move(message), std::move(fix)});
}

void Report::AtLine(std::string id, Severity severity, const IniDocument& doc,
                    const release::IniLine& line, std::string message, std::string fix) {
  const bool is_section = line.kind == release::IniLine::Kind::Section ||
                          line.kind == release::IniLine::Kind::BrokenSection;
  findings_.push_back({std::move(id), severity, doc.name, line.line, line.section,
                       is_section ? std::string() : line.key, std::move(message), std::move(fix)});
}

void Report::AtKey(std::string id, Severity severity, const IniDocument& doc,
                   std::string_view section, std::string_view key, std::string message,
                   std::string fix) {
  if (const release::IniLine* line = doc.Value(section, key)) {
    AtLine(std::move(id), severity, doc, *line, std::move(message), std::move(fix));
    return;
  }
  const release::IniLine* written = doc.Section(section);
  Add(std::move(id), severity, doc.name, written ? written->section : std::string(section),
      std::string(key), std::move(message), std::move(fix));
}

void Report::AtSection(std::string id, Severity severity, const IniDocument& doc,
                       std::string_view section, std::string message, std::string fix) {
  if (const release::IniLine* line = doc.Section(section)) {
    AtLine(std::move(id), severity, doc, *line, std::move(message), std::move(fix));
    return;
  }
  Add(std::move(id), severity, doc.name, std::string(section), {}, std::move(message),
      std::move(fix));
}

std::vector<Finding> Report::Sorted() const {
  std::vector<std::string> files = {"Data\\Settings.ini", "Data\\Language.ini"};
  for (const Finding& f : findings_) {
    if (std::find(files.begin(), files.end(), f.file) == files.end()) files.push_back(f.file);
  }
  const auto rank = [&files](const Finding& f) {
    return std::find(files.begin(), files.end(), f.file) - files.begin();
  };
  std::vector<Finding> sorted = findings_;
  std::stable_sort(sorted.begin(), sorted.end(), [&rank](const Finding& a, const Finding& b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    const unsigned a_line = a.line > 0 ? a.line : ~0u, b_line = b.line > 0 ? b.line : ~0u;
    return a_line < b_line;
  });
  return sorted;
}

}  // namespace check
