#include "check/release_builder.h"

#include <algorithm>
#include <exception>
#include <set>

#include "check/checksum_update.h"
#include "check/names.h"
#include "check/package_facts.h"
#include "check/release_check.h"
#include "check/release_view.h"
#include "engine/package_command.h"
#include "release/sha256.h"
#include "release/text_encoding.h"

namespace check {

namespace {

struct Package {
  std::string path;  // relative to PACKAGES and to Data, "\" between parts
  PackageFacts facts;
  std::string sha256;
};

bool IsPackage(const std::string& path) {
  return engine::KindOf(path) != engine::PackageKind::Other;
}

std::string Trimmed(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  return path;
}

std::string Join(const std::string& folder, const std::string& relative) {
  std::string path = folder + "/" + relative;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ParentOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string Packages(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " package" : " packages");
}

CommandResult Failure(const std::string& why) {
  return {2, {}, "release-check: " + why + "\n"};
}

// The packages under the folder, read and copied to `data` (hashed while
// copying), into `out`: servicing stack updates first, the others in order.
bool CopyPackages(BuildFiles& files, const std::string& packages,
                  const std::vector<std::string>& paths, const std::string& data, bool english,
                  std::vector<Package>& out, std::string& reason) {
  for (const std::string& path : paths) {
    Package package;
    package.path = path;
    release::Sha256 hash;
    if (!files.CopyNew(
            Join(packages, path), Join(data, path),
            [&hash](std::string_view block) { hash.Update(block); }, reason)) {
      reason = path + " can't be copied: " + reason;
      return false;
    }
    package.sha256 = hash.HexDigest();
    std::string why;
    if (const std::unique_ptr<release::ByteSource> source = files.Open(Join(packages, path), why)) {
      try {
        package.facts = ReadPackage(BaseName(path), *source, english);
      } catch (const std::exception& e) {
        package.facts.name = BaseName(path);
        package.facts.missing = std::string("it can't be read: ") + e.what();
      }
    } else {
      package.facts.name = BaseName(path);
      package.facts.missing = "it can't be opened for reading: " + why;
    }
    out.push_back(std::move(package));
  }
  std::stable_partition(out.begin(), out.end(),
                        [](const Package& p) { return p.facts.servicing_stack; });
  return true;
}

std::vector<std::string> Section(int number, const Package& p) {
  std::vector<std::string> lines = {"[File" + std::to_string(number) + "]", "Name=" + p.facts.name,
                                    "File=" + p.path, "Parameters=" + p.facts.parameters};
  if (!p.facts.detect.empty()) lines.push_back("Detect=" + p.facts.detect);
  lines.push_back("Sha256=" + p.sha256);
  return lines;
}

std::string Report(int number, const Package& p) {
  std::string line = "[File" + std::to_string(number) + "] " + p.path + ": " +
                     (p.facts.found.empty() ? "nothing found" : p.facts.found);
  if (!p.facts.missing.empty()) line += "; not told: " + p.facts.missing;
  return line + "\n";
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Language.ini of the words, with CR LF line ends and a byte-order mark.
std::string WordsFile(bool english) {
  std::string text = "\xEF\xBB\xBF; The words of the installer's windows, ";
  text += english ? "English" : "German";
  text += ": written by release-check --new.\r\n";
  for (const char* c = english ? kEnglishWords : kGermanWords; *c; ++c) {
    if (*c == '\n') text += '\r';
    text += *c;
  }
  return text;
}

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The About dialog's logo: a 32 x 32 icon of 32-bit colour, a blue box with
// a white arrow pointing down (an update coming in).
std::string IconFile() {
  constexpr int kEdge = 32;
  std::string icon;
  PutLe(icon, 0, 2);  // ICONDIR
  PutLe(icon, 1, 2);
  PutLe(icon, 1, 2);
  const std::uint32_t image = 40 + kEdge * kEdge * 4 + kEdge * 4;
  icon += std::string("\x20\x20\x00\x00", 4);  // ICONDIRENTRY: 32 x 32, no palette
  PutLe(icon, 1, 2);
  PutLe(icon, 32, 2);
  PutLe(icon, image, 4);
  PutLe(icon, 22, 4);
  PutLe(icon, 40, 4);  // BITMAPINFOHEADER, twice the height for the mask
  PutLe(icon, kEdge, 4);
  PutLe(icon, kEdge * 2, 4);
  PutLe(icon, 1, 2);
  PutLe(icon, 32, 2);
  for (int i = 0; i < 6; ++i) PutLe(icon, 0, 4);
  for (int y = kEdge - 1; y >= 0; --y) {  // bottom-up rows of BGRA
    for (int x = 0; x < kEdge; ++x) {
      const bool box = x >= 2 && x < 30 && y >= 2 && y < 30;
      const bool shaft = x >= 13 && x < 19 && y >= 6 && y < 18;
      const bool head = y >= 18 && y < 26 && x >= 8 + (y - 18) && x < 24 - (y - 18);
      const std::uint32_t colour = !box ? 0 : (shaft || head) ? 0xFFFFFFFF : 0xFFB06010;
      PutLe(icon, colour, 4);
    }
  }
  icon += std::string(kEdge * 4, '\0');  // the mask: the alpha channel decides
  return icon;
}

// The findings of the usual check on the release, after `out`.
CommandResult Checked(BuildFiles& files, const std::string& release, std::string out) {
  CommandResult result;
  result.out = std::move(out);
  const std::unique_ptr<ReleaseFiles> view = files.OpenRelease(release);
  std::optional<std::vector<Finding>> findings;
  try {
    if (view) findings = CheckRelease(*view);
  } catch (const std::exception& e) {
    return {2, result.out, "release-check: " + release + " could not be read: " + e.what() + "\n"};
  }
  if (!findings) return {2, result.out, "release-check: " + release + " holds no release\n"};
  bool errors = false;
  for (const Finding& f : *findings) {
    result.out += FormatText(f) + "\n";
    errors = errors || f.severity == Severity::Error;
  }
  result.out += FormatSummary(*findings) + "\n";
  result.exit_code = errors ? 1 : 0;
  return result;
}

bool ListPackages(BuildFiles& files, const std::string& packages, std::vector<std::string>& paths,
                  std::string& reason) {
  if (files.KindOf(packages) != EntryKind::Folder) {
    reason = packages + " is no folder";
    return false;
  }
  std::vector<std::string> all;
  if (!files.ListFiles(packages, all, reason)) {
    reason = packages + " can't be listed: " + reason;
    return false;
  }
  for (const std::string& path : all) {
    if (IsPackage(path)) paths.push_back(path);
  }
  std::sort(paths.begin(), paths.end(),
            [](const std::string& a, const std::string& b) { return Fold(a) < Fold(b); });
  if (paths.empty()) {
    reason = packages + " holds no .msu, .msi or .exe files";
    return false;
  }
  return true;
}

}  // namespace

CommandResult NewRelease(const BuildOptions& options, BuildFiles& files) {
  const std::string release = Trimmed(options.release);
  const EntryKind kind = files.KindOf(release);
  if (kind == EntryKind::File || (kind == EntryKind::Folder && !files.IsEmptyFolder(release)))
    return Failure(release + " exists and is not an empty folder: nothing is ever overwritten");
  std::string reason;
  std::vector<std::string> paths;
  if (!ListPackages(files, options.packages, paths, reason)) return Failure(reason);
  std::string installer = options.installer;
  if (installer.empty() &&
      files.KindOf(Join(files.ProgramFolder(), "Installer.exe")) == EntryKind::File)
    installer = Join(files.ProgramFolder(), "Installer.exe");

  // Everything goes into a folder beside RELEASE first, renamed at the end.
  const std::string part = Join(ParentOf(release), "." + BaseName(release) + ".part");
  if (files.KindOf(part) != EntryKind::Missing)
    return Failure(part + " is in the way (left by a run that was stopped?): remove it first");
  if (!files.MakeFolder(part, reason)) return Failure(part + " can't be made: " + reason);
  std::vector<Package> packages;
  std::string out;
  const bool built = [&] {
    if (!CopyPackages(files, options.packages, paths, Join(part, "Data"), options.english, packages,
                      reason))
      return false;
    const std::string name = options.name.empty() ? BaseName(release) : options.name;
    std::vector<std::string> settings = {
        "; Written by release-check --new from the packages in " +
            BaseName(Trimmed(options.packages)) + ".",
        "[Main]", "Name=" + name,
        "Version=" + (options.version.empty() ? files.Today() : options.version),
        "Files=" + std::to_string(packages.size())};
    std::string readme = name + "\r\n\r\n";
    for (std::size_t i = 0; i < packages.size(); ++i) {
      settings.emplace_back();
      for (const std::string& line : Section(static_cast<int>(i + 1), packages[i]))
        settings.push_back(line);
      out += Report(static_cast<int>(i + 1), packages[i]);
      readme += "- " + packages[i].facts.name + "\r\n";
    }
    if (!files.WriteNew(Join(part, "Data/Settings.ini"), "\xEF\xBB\xBF" + Lines(settings),
                        reason) ||
        !files.WriteNew(Join(part, "Data/Language.ini"), WordsFile(options.english), reason) ||
        !files.WriteNew(Join(part, "Data/Icon.ico"), IconFile(), reason) ||
        !files.WriteNew(Join(part, "Readme.txt"), "\xEF\xBB\xBF" + readme, reason))
      return false;
    if (installer.empty()) {
      out +=
          "release-check: no Installer.exe beside the program and no --installer: put one beside "
          "Data\n";
    } else if (!files.CopyNew(
                   installer, Join(part, "Installer.exe"), [](std::string_view) {}, reason)) {
      reason = installer + " can't be copied: " + reason;
      return false;
    }
    return files.RenameFolder(part, release, reason);
  }();
  if (!built) {
    files.Remove(part);
    return Failure("no release written: " + reason);
  }
  return Checked(files, release,
                 out + "release-check: " + release + " written with " + Packages(packages.size()) +
                     "; its check:\n");
}

CommandResult AddToRelease(const BuildOptions& options, BuildFiles& files) {
  const std::string release = Trimmed(options.release);
  const std::unique_ptr<ReleaseFiles> release_files = files.OpenRelease(release);
  std::optional<ReleaseView> view;
  if (release_files) view = LoadRelease(*release_files);
  if (!view || view->data != "Data\\" || !view->settings.readable)
    return Failure(release + " holds no release with a Data\\Settings.ini to add to");
  const release::IniLine* files_line = view->settings.Value("Main", "Files");
  if (!files_line || !view->files || *view->files < 0)
    return Failure("[Main] Files of " + release + " is no number: mend it, then add packages");
  std::string reason;
  std::vector<std::string> paths;
  if (!ListPackages(files, options.packages, paths, reason)) return Failure(reason);
  const std::string& bytes = view->settings.bytes;
  const bool ansi =
      bytes.compare(0, 3, "\xEF\xBB\xBF") != 0 && bytes.compare(0, 2, "\xFF\xFE") != 0;
  std::set<std::string> present;
  for (int n = 1; n <= view->package_count; ++n) present.insert(Fold((*view->packages)[n].File));
  std::string out;
  std::vector<std::string> fresh;
  for (const std::string& path : paths) {
    if (present.count(Fold(path))) {
      out += "release-check: " + path + " is in the release already: not added again\n";
    } else if (ansi && release::Windows1252ToUtf8(release::Utf8ToWindows1252(path)) != path) {
      out += "release-check: " + path +
             " has letters that Settings.ini, written in ANSI, can't hold: not added\n";
    } else if (files.KindOf(Join(Join(release, "Data"), path)) != EntryKind::Missing) {
      out += "release-check: " + path +
             " is in Data already, though no package names it: not overwritten, not added\n";
    } else {
      fresh.push_back(path);
    }
  }
  std::vector<Package> packages;
  const std::string data = Join(release, "Data");
  auto undo = [&] {
    for (const std::string& path : fresh) files.Remove(Join(data, path));
  };
  if (!CopyPackages(files, options.packages, fresh, data, options.english, packages, reason)) {
    undo();
    return Failure("nothing added: " + reason);
  }
  const int first = *view->files + 1;
  std::vector<std::string> tail;
  for (std::size_t i = 0; i < packages.size(); ++i) {
    tail.emplace_back();
    for (const std::string& line : Section(first + static_cast<int>(i), packages[i]))
      tail.push_back(line);
    out += Report(first + static_cast<int>(i), packages[i]);
  }
  if (!packages.empty()) {
    std::string text;
    try {
      text = ExtendIni(view->settings.bytes, files_line->line,
                       std::to_string(*view->files + static_cast<int>(packages.size())), tail);
    } catch (const std::invalid_argument& e) {
      undo();
      return Failure(view->settings.name + " " + e.what() + ": mend it, then add packages");
    }
    if (!release_files->ReplaceBytes("Data\\Settings.ini", text, reason)) {
      undo();
      return Failure(view->settings.name + " can't be written: " + reason + "; nothing added");
    }
  }
  return Checked(files, release,
                 out + "release-check: " + Packages(packages.size()) + " added to " + release +
                     "; its check:\n");
}

}  // namespace check
