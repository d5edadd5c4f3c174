// Each package as the installer will run it: the file, its kind on each
// system, the parameters' {tmp}, the log file, the restart, the link.
#include <algorithm>
#include <cctype>
#include <map>

#include "about/web_address.h"
#include "check/checks.h"
#include "check/checksum_update.h"
#include "check/names.h"
#include "engine/package_command.h"
#include "release/detect_rule.h"
#include "release/os_identity.h"
#include "release/sha256.h"

namespace check {

namespace {

// The installer runs on Windows XP and later.
constexpr release::OsIndex kOldestSystem = release::OsIndex::WindowsXP;
constexpr release::OsIndex kNewestSystem = release::OsIndex::Windows10;

constexpr char kUpdateFix[] = "run release-check --update-sha256 on the release";

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

bool IsWordCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// Placeholders that look meant for the temporary folder but are not "{tmp}"
// as the installer replaces it: "{temp}", "%TEMP%", "[tmp]", "{ tmp }", "{tmp".
std::vector<std::string> MisspeltTemporaryFolders(const std::string& parameters) {
  static const std::string kOpeners = "{([<%$", kClosers = "})]>%";
  const std::string lower = Fold(parameters);
  std::vector<std::string> found;
  std::size_t from = 0;
  for (;;) {
    const std::size_t tmp = lower.find("tmp", from), temp = lower.find("temp", from);
    const std::size_t at = std::min(tmp, temp);
    if (at == std::string::npos) break;
    std::size_t end = at + (at == temp ? 4 : 3);
    if (lower.compare(end, 3, "dir") == 0) end += 3;
    std::size_t start = at;
    while (start > 0 && lower[start - 1] == ' ') --start;
    const bool opened = start > 0 && kOpeners.find(lower[start - 1]) != std::string::npos;
    start = opened ? start - 1 : at;
    std::size_t stop = end;
    while (stop < lower.size() && lower[stop] == ' ') ++stop;
    const bool closed = stop < lower.size() && kClosers.find(lower[stop]) != std::string::npos;
    stop = closed ? stop + 1 : end;
    from = stop;
    // A word that merely holds the letters: "attempt", "/tempdir:", "C:\Temp\".
    const bool word_before = at > 0 && IsWordCharacter(lower[at - 1]);
    const bool word_after = end < lower.size() && IsWordCharacter(lower[end]);
    if (!(opened && closed) && (!(opened || closed) || word_before || word_after)) continue;
    const std::string token = parameters.substr(start, stop - start);
    if (Fold(token) != "{tmp}") found.push_back(token);
  }
  return found;
}

// Why the installer can't use a Detect= rule.
std::string RuleFaultText(release::RuleFault fault) {
  switch (fault) {
    case release::RuleFault::None:
      break;
    case release::RuleFault::UnknownKind:
      return "it is of no kind the installer knows";
    case release::RuleFault::BadUpdateNumber:
      return "KB is not followed by digits alone";
    case release::RuleFault::BadProductCode:
      return "the product code is not {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in hexadecimal digits";
    case release::RuleFault::BadFilePath:
      return "the path starts from no drive, share or environment variable";
    case release::RuleFault::BadVersion:
      return "the path is not followed by >= and a version of up to four numbers up to 65535";
    case release::RuleFault::NotMachineKey:
      return "the key is not under HKLM";
    case release::RuleFault::BadKeyPath:
      return "a key or value name is empty, or a value has no key";
  }
  return {};
}

class PackageCheck {
 public:
  PackageCheck(const ReleaseView& view, ReleaseFiles& files, Report& report)
      : view_(view), doc_(view.settings), files_(files), report_(report) {}

  void Run() {
    std::map<std::pair<std::string, std::string>, int> seen;
    for (int n = 1; n <= view_.package_count; ++n) {
      section_ = "File" + std::to_string(n);
      if (!doc_.Section(section_)) continue;  // CheckMain names missing sections
      const release::PackageEntry& entry = (*view_.packages)[n];
      Name(entry);
      Checksum(entry, File(entry));
      Parameters(entry);
      Logfile(entry);
      Restart(entry);
      Link(entry);
      Detect(entry);
      if (entry.File.empty()) continue;
      std::string file = Fold(entry.File);
      for (char& c : file) {
        if (c == '/') c = '\\';
      }
      const auto [twin, first] = seen.try_emplace({file, entry.Parameters}, n);
      if (!first) {
        At("File", "package-duplicate", Severity::Warning,
           "the package installs " + Quoted(entry.File) + " with the same parameters as [File" +
               std::to_string(twin->second) + "]: the user sees it twice and it runs twice",
           "remove one of the two, or give them different files or parameters");
      }
    }
  }

 private:
  void At(const std::string& key, std::string id, Severity severity, std::string message,
          std::string fix) {
    report_.AtKey(std::move(id), severity, doc_, section_, key, std::move(message), std::move(fix));
  }

  void Name(const release::PackageEntry& entry) {
    if (!entry.Name.empty()) return;
    At("Name", "package-name-empty", Severity::Warning,
       "the package has no name: its row in the package list and its progress texts show none",
       "set Name in [" + section_ + "]");
  }

  // True when the package's file is there to read.
  bool File(const release::PackageEntry& entry) {
    const std::string& file = entry.File;
    if (file.empty()) {
      At("File", "package-file-empty", Severity::Error,
         "the package names no file: the installer reports it as not started",
         "set File to the package's path under Data");
      return false;
    }
    switch (PlaceInData(file)) {
      case PathPlace::Absolute:
        At("File", "package-path-absolute", Severity::Error,
           Quoted(file) + " is an absolute path: the installer looks for it as Data\\" + file +
               " and does not find it",
           "put the package into Data and name it relative to Data");
        return false;
      case PathPlace::Outside:
        At("File", "package-path-outside-data", Severity::Warning,
           Quoted(file) +
               " climbs out of Data: the package is found only while the release's "
               "surroundings stay as they are",
           "put the package into Data and name it relative to Data");
        break;
      case PathPlace::Inside:
        break;
    }
    const EntryKind kind = files_.KindOf(view_.data + file);
    switch (kind) {
      case EntryKind::Missing:
        At("File", "package-file-missing", Severity::Error,
           "package file " + Quoted(file) +
               " is missing from Data: the installer reports it as not started",
           "put the file into Data, or correct the path");
        break;
      case EntryKind::Folder:
        At("File", "package-file-is-folder", Severity::Error,
           Quoted(file) + " is a folder, not a package: the installer cannot run it",
           "name the package file in the folder");
        break;
      case EntryKind::File:
        break;
    }
    Kind(file);
    return kind == EntryKind::File;
  }

  // The file is hashed as the installer hashes it before the start.
  void Checksum(const release::PackageEntry& entry, bool present) {
    const std::string& expected = entry.Sha256;
    if (expected.empty()) return;
    if (!release::IsSha256Text(expected)) {
      At("Sha256", "sha256-malformed", Severity::Error,
         Quoted(expected) +
             " is no SHA-256 checksum of 64 hexadecimal digits: the installer does not start "
             "the package, and the run ends as failed",
         kUpdateFix);
      return;
    }
    if (!present) return;
    std::string reason;
    const std::optional<std::string> found = HashFile(files_, view_.data + entry.File, reason);
    if (!found) {
      At("File", "package-file-unreadable", Severity::Error,
         "package file " + Quoted(entry.File) + " can't be read (" + reason +
             "): the installer does not start it",
         "make the file readable");
    } else if (!release::SameSha256(*found, expected)) {
      At("Sha256", "sha256-mismatch", Severity::Error,
         "the SHA-256 of " + Quoted(entry.File) + " is " + *found + ", not " + expected +
             ": the installer takes the file for damaged, does not start it, and the run ends "
             "as failed",
         std::string("put the intended file into Data; if this file is the intended one, ") +
             kUpdateFix);
    }
  }

  // Which systems have a way to run the package: the installer's own rule.
  void Kind(const std::string& file) {
    std::vector<std::string> skipped;
    int systems = 0;
    for (int os = static_cast<int>(kOldestSystem); os <= static_cast<int>(kNewestSystem); ++os) {
      const auto index = static_cast<release::OsIndex>(os);
      ++systems;
      if (engine::BuildCommandLine(file, "", index, {"msiexec.exe", "wusa.exe"}).empty())
        skipped.push_back(release::OsName(index));
    }
    if (skipped.empty()) return;
    if (static_cast<int>(skipped.size()) == systems) {
      At("File", "package-kind-unknown", Severity::Error,
         Quoted(file) +
             " is no .exe, .msi or .msu file: no system runs it, the installer reports it as not "
             "started",
         "name an .exe, .msi or .msu package");
    } else {
      At("File", "package-kind-skipped", Severity::Warning,
         Quoted(file) + " is passed over on " + Joined(skipped) +
             ": those systems have no installer for this kind of package",
         "offer a package that those systems run, or say in the package's Name which systems "
         "it is for");
    }
  }

  void Parameters(const release::PackageEntry& entry) {
    const std::string file = Fold(entry.File);
    if (entry.Parameters.empty() && file.size() > 4 &&
        file.compare(file.size() - 4, 4, ".exe") == 0) {
      At("Parameters", "exe-without-parameters", Severity::Warning,
         "the program starts without parameters: unless it is silent by itself, it may show "
         "windows of its own and wait for the user, in a silent installation too",
         "give it the switches of its installer that keep it silent (e.g. /S for NSIS, "
         "/VERYSILENT for Inno Setup, /quiet /norestart for WiX Burn)");
    }
    for (const std::string& token : MisspeltTemporaryFolders(entry.Parameters)) {
      At("Parameters", "tmp-misspelt", Severity::Warning,
         Quoted(token) +
             " is passed on as it is: only {tmp} stands for the folder "
             "Data\\setuptemp",
         "write {tmp}");
    }
  }

  void Logfile(const release::PackageEntry& entry) {
    const std::string& log = entry.Logfile;
    if (log.empty() || engine::IsPlainLogName(log)) return;
    At("Logfile", "logfile-outside-windows", Severity::Warning,
       Quoted(log) + " is not a name inside the Windows folder: the installer never deletes it",
       "name the log file relative to the Windows folder, e.g. " + Quoted("KB123456.log"));
  }

  void Restart(const release::PackageEntry& entry) {
    const std::string& restart = entry.Restart;
    if (restart.empty() || restart == "1" || restart == "0") return;
    At("Restart", "restart-not-one", Severity::Warning,
       "Restart=" + restart + " asks for no restart: only 1 does",
       "write Restart=1 for a restart after the package, or remove the key");
  }

  void Link(const release::PackageEntry& entry) {
    if (entry.Link.empty()) return;
    if (!about::HasScheme(entry.Link)) {
      At("Link", "link-without-scheme", Severity::Warning,
         Quoted(entry.Link) + " has no scheme: the details dialog opens " +
             Quoted(about::LinkToOpen(entry.Link).address),
         "write the address with its scheme, e.g. " + Quoted("https://" + entry.Link));
    } else if (!about::LinkToOpen(entry.Link).opens) {
      At("Link", "link-not-web", Severity::Warning, NotWebAddress(entry.Link, "details dialog"),
         kWebAddressHint);
    }
  }

  void Detect(const release::PackageEntry& entry) {
    if (entry.Detect.empty()) return;
    const release::RuleFault fault = release::ParseDetectRule(entry.Detect).fault;
    if (fault == release::RuleFault::None) return;
    At("Detect", "detect-malformed", Severity::Error,
       "Detect=" + entry.Detect + " is malformed (" + RuleFaultText(fault) +
           "): the installer takes the package for not installed and runs it",
       "write KB<number>, msi:{product code}, file:<path>[>=<version>], reg:HKLM\\<key> or "
       "reg:HKLM\\<key>\\<value>=<data>");
  }

  const ReleaseView& view_;
  const IniDocument& doc_;
  ReleaseFiles& files_;
  Report& report_;
  std::string section_;
};

}  // namespace

void CheckPackages(const ReleaseView& view, ReleaseFiles& files, Report& report) {
  PackageCheck(view, files, report).Run();
}

}  // namespace check
