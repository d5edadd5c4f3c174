#include "check/command.h"

#include <exception>

#include "check/release_check.h"

namespace check {

namespace {

constexpr const char* kUsage =
    "Usage: release-check [--json] [--strict] FOLDER\n"
    "Checks a release of the installer: FOLDER is the folder of Installer.exe, or its Data\n"
    "folder. Prints each problem on a line of its own: file, line, [section], key, severity\n"
    "(error: the installer fails or misbehaves; warning: probably unintended), what happens\n"
    "and a fix.\n"
    "  --json    print the findings as a JSON array\n"
    "  --strict  count warnings as errors\n"
    "Exit code: 0 without errors, 1 with errors, 2 when the folder could not be read.\n";

CommandResult UsageError(const std::string& problem) {
  return {2, {}, "release-check: " + problem + "\n" + kUsage};
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& args, const FolderOpener& open) {
  bool json = false, strict = false;
  std::vector<std::string> folders;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (arg == "--strict") {
      strict = true;
    } else if (arg == "--help" || arg == "-h" || arg == "/?") {
      return {0, kUsage, {}};
    } else if (arg.size() > 1 && arg.compare(0, 2, "--") == 0) {
      return UsageError("unknown option " + arg);
    } else {
      folders.push_back(arg);
    }
  }
  if (folders.size() != 1)
    return UsageError(folders.empty() ? "no folder given" : "one folder only");

  const std::string& folder = folders.front();
  const std::unique_ptr<ReleaseFiles> files = open(folder);
  if (!files) return {2, {}, "release-check: " + folder + " is no folder\n"};
  std::optional<std::vector<Finding>> findings;
  try {
    findings = CheckRelease(*files);
  } catch (const std::exception& e) {
    return {2, {}, "release-check: " + folder + " could not be read: " + e.what() + "\n"};
  }
  if (!findings) {
    return {2,
            {},
            "release-check: " + folder +
                " holds no release: neither a Data folder nor Settings.ini or Language.ini\n"};
  }

  bool errors = false;
  for (Finding& finding : *findings) {
    if (strict) finding.severity = Severity::Error;
    errors = errors || finding.severity == Severity::Error;
  }
  CommandResult result;
  result.exit_code = errors ? 1 : 0;
  if (json) {
    result.out = FormatJson(*findings);
  } else {
    for (const Finding& finding : *findings) result.out += FormatText(finding) + "\n";
    result.out += FormatSummary(*findings) + "\n";
  }
  return result;
}

}  // namespace check
