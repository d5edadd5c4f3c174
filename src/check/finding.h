// One problem of a release, and the two ways the checker prints them.
#pragma once

#include <string>
#include <vector>

namespace check {

// Error: the installer fails or misbehaves. Warning: probably unintended.
enum class Severity { Error, Warning };

struct Finding {
  std::string id;  // stable, e.g. "files-not-a-number"
  Severity severity = Severity::Error;
  std::string file;     // relative to the release folder: "Data\Settings.ini", "Readme.txt"
  int line = 0;         // 1 for the first line; 0 when no line holds the problem
  std::string section;  // without brackets; empty when none
  std::string key;      // empty when none
  std::string message;
  std::string fix;
};

const char* SeverityName(Severity severity);

// One line without its end:
// Data\Settings.ini:12 [File3] File: error: <message> — fix: <fix>
std::string FormatText(const Finding& finding);

// A JSON array with one object per finding, and a line end.
std::string FormatJson(const std::vector<Finding>& findings);

// "release-check: 2 errors, 1 warning" or "release-check: no problems found".
std::string FormatSummary(const std::vector<Finding>& findings);

}  // namespace check
