// Collects the findings of the checks, placed at a file, line, section and key.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/finding.h"
#include "check/release_view.h"

namespace check {

class Report {
 public:
  // A finding about a whole file, or a place without a line.
  void Add(std::string id, Severity severity, std::string file, std::string section,
           std::string key, std::string message, std::string fix);
  // At a line of an INI file, with the names as written there.
  void AtLine(std::string id, Severity severity, const IniDocument& doc,
              const release::IniLine& line, std::string message, std::string fix);
  // At a key: the line the reader takes it from, or, when the file lacks
  // it, the names as the installer spells them.
  void AtKey(std::string id, Severity severity, const IniDocument& doc, std::string_view section,
             std::string_view key, std::string message, std::string fix);
  // At a section's line, or at its name when the file lacks it.
  void AtSection(std::string id, Severity severity, const IniDocument& doc,
                 std::string_view section, std::string message, std::string fix);

  // Settings.ini first, then Language.ini, then the other files; by line in
  // each file, findings without a line last.
  std::vector<Finding> Sorted() const;

 private:
  std::vector<Finding> findings_;
};

}  // namespace check
