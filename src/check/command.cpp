#include "check/command.h"

#include <exception>

#include "check/checksum_update.h"
#include "check/release_builder.h"
#include "check/release_check.h"

namespace check {

namespace {

constexpr const char* kUsage =
    "Usage: release-check [--json] [--strict] FOLDER\n"
    "       release-check --update-sha256 FOLDER\n"
    "       release-check --new [--name TEXT] [--version TEXT] [--english] [--installer PATH]\n"
    "                     PACKAGES RELEASE\n"
    "       release-check --add [--english] PACKAGES RELEASE\n"
    "Checks a release of the installer: FOLDER is the folder of Installer.exe, or its Data\n"
    "folder. Prints each problem on a line of its own: file, line, [section], key, severity\n"
    "(error: the installer fails or misbehaves; warning: probably unintended), what happens\n"
    "and a fix.\n"
    "  --json           print the findings as a JSON array\n"
    "  --strict         count warnings as errors\n"
    "  --update-sha256  check nothing: write each package file's SHA-256 into Sha256= of its\n"
    "                   section in Settings.ini, added or refreshed; the rest of the file stays\n"
    "                   as it is\n"
    "  --new            write a release into RELEASE (missing or empty) from every .msu, .msi\n"
    "                   and .exe under PACKAGES: names, Detect rules, silent switches and\n"
    "                   checksums read from the packages; then check it\n"
    "  --add            add the packages under PACKAGES that RELEASE lacks, then check it\n"
    "  --name, --version  [Main] Name and Version (default: RELEASE's name, today's date)\n"
    "  --english        English words and names (default: German)\n"
    "  --installer      the Installer.exe to copy (default: the one beside this program)\n"
    "Exit code: 0 without errors, 1 with errors (a package file that could not be read), 2\n"
    "when the folder could not be read or Settings.ini not be written.\n";

CommandResult UsageError(const std::string& problem) {
  return {2, {}, "release-check: " + problem + "\n" + kUsage};
}

CommandResult NoRelease(const std::string& folder) {
  return {2,
          {},
          "release-check: " + folder +
              " holds no release: neither a Data folder nor Settings.ini or Language.ini\n"};
}

std::string Counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A line per checksum added or refreshed, then how many of each.
CommandResult UpdateCommand(ReleaseFiles& files, const std::string& folder) {
  const std::optional<ChecksumUpdate> update = UpdateChecksums(files);
  if (!update) return NoRelease(folder);
  if (!update->failure.empty()) return {2, {}, "release-check: " + update->failure + "\n"};
  CommandResult result;
  for (const Finding& problem : update->problems) result.out += FormatText(problem) + "\n";
  std::size_t counts[3] = {};
  for (const ChecksumChange& change : update->changes) {
    ++counts[static_cast<int>(change.kind)];
    if (change.kind == ChecksumChange::Kind::Unchanged) continue;
    result.out +=
        "Data\\Settings.ini:" + std::to_string(change.line) + " [File" +
        std::to_string(change.package) + "] Sha256: " +
        (change.kind == ChecksumChange::Kind::Added ? "added" : "refreshed, was " + change.before) +
        "\n";
  }
  result.out += "release-check: Sha256 added to " + Counted(counts[0], "package", "packages") +
                ", refreshed in " + std::to_string(counts[1]) + ", unchanged in " +
                std::to_string(counts[2]);
  if (!update->problems.empty()) {
    result.out +=
        "; " + Counted(update->problems.size(), "package file", "package files") + " not read";
  }
  result.out += "\n";
  result.exit_code = update->problems.empty() ? 0 : 1;
  return result;
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& args, const FolderOpener& open,
                         BuildFiles* build) {
  bool json = false, strict = false, update = false, make = false, add = false;
  BuildOptions options;
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--name" || arg == "--version" || arg == "--installer") {
      if (i + 1 >= args.size()) return UsageError(arg + " needs a value");
      std::string& value = arg == "--name"      ? options.name
                           : arg == "--version" ? options.version
                                                : options.installer;
      value = args[++i];
      if (value.empty()) return UsageError(arg + " needs a value");
    } else if (arg == "--new") {
      make = true;
    } else if (arg == "--add") {
      add = true;
    } else if (arg == "--english") {
      options.english = true;
    } else if (arg == "--json") {
      json = true;
    } else if (arg == "--strict") {
      strict = true;
    } else if (arg == "--update-sha256") {
      update = true;
    } else if (arg == "--help" || arg == "-h" || arg == "/?") {
      return {0, kUsage, {}};
    } else if (arg.size() > 1 && arg.compare(0, 2, "--") == 0) {
      return UsageError("unknown option " + arg);
    } else {
      folders.push_back(arg);
    }
  }
  const bool naming =
      !options.name.empty() || !options.version.empty() || !options.installer.empty();
  if (make || add) {
    if (make && add) return UsageError("--new or --add, not both");
    if (json || strict || update)
      return UsageError("--new and --add take no --json, --strict or --update-sha256");
    if (add && naming) return UsageError("--name, --version and --installer belong to --new");
    if (folders.size() != 2)
      return UsageError("--new and --add take two folders: PACKAGES RELEASE");
    if (!build) return UsageError("this program can't write releases");
    options.packages = folders[0];
    options.release = folders[1];
    return make ? NewRelease(options, *build) : AddToRelease(options, *build);
  }
  if (naming || options.english)
    return UsageError("--name, --version, --english and --installer belong to --new");
  if (folders.size() != 1)
    return UsageError(folders.empty() ? "no folder given" : "one folder only");
  if (update && (json || strict)) return UsageError("--update-sha256 takes no other option");

  const std::string& folder = folders.front();
  const std::unique_ptr<ReleaseFiles> files = open(folder);
  if (!files) return {2, {}, "release-check: " + folder + " is no folder\n"};
  if (update) return UpdateCommand(*files, folder);
  std::optional<std::vector<Finding>> findings;
  try {
    findings = CheckRelease(*files);
  } catch (const std::exception& e) {
    return {2, {}, "release-check: " + folder + " could not be read: " + e.what() + "\n"};
  }
  if (!findings) return NoRelease(folder);

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
