#include "engine/package_command.h"

#include <algorithm>

namespace engine {

namespace {

constexpr char kQuote = '"';
constexpr const char* kUpdateRecords = "SOFTWARE\\Microsoft\\Updates\\Windows XP";
constexpr const char* kIe7Package = "IE7-WINDOWSXP-X86-DEU.EXE";

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Quoted(const std::string& text) {
  return kQuote + text + kQuote;
}

// Whether a word of the parameters begins with `prefix` (upper case).
bool HasSwitch(const std::string& parameters, const std::string& prefix) {
  const std::string upper = Upper(parameters);
  for (std::size_t at = upper.find(prefix); at != std::string::npos;
       at = upper.find(prefix, at + 1)) {
    if (at == 0 || upper[at - 1] == ' ' || upper[at - 1] == '\t' || upper[at - 1] == kQuote)
      return true;
  }
  return false;
}

std::string FileNameOf(const std::string& path) {
  return path.substr(path.find_last_of("\\/") + 1);
}

}  // namespace

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

PackageKind KindOf(const std::string& path) {
  const std::string upper = Upper(path);
  if (EndsWith(upper, ".EXE")) return PackageKind::Exe;
  if (EndsWith(upper, ".MSI")) return PackageKind::Msi;
  if (EndsWith(upper, ".MSU")) return PackageKind::Msu;
  return PackageKind::Other;
}

std::string BuildCommandLine(const std::string& path, const std::string& parameters,
                             release::OsIndex os, const SystemInstallers& installers) {
  switch (KindOf(path)) {
    case PackageKind::Exe:
      return Quoted(path) + " " + parameters;
    case PackageKind::Msi:
      return Quoted(installers.msiexec) + " /i " + Quoted(path) + " " + parameters;
    case PackageKind::Msu:
      return release::IsVistaOrLater(os)
                 ? Quoted(installers.wusa) + " " + Quoted(path) + " " + parameters
                 : "";
    case PackageKind::Other:
      return "";
  }
  return "";
}

LoggedParameters AddPackageLog(const std::string& path, const std::string& parameters,
                               const std::string& log_folder) {
  const PackageKind kind = KindOf(path);
  const bool msi = kind == PackageKind::Msi;
  if ((!msi && kind != PackageKind::Msu) || HasSwitch(parameters, msi ? "/L" : "/LOG")) {
    return {parameters, ""};
  }
  const std::string log = log_folder + "\\" + FileNameOf(path) + (msi ? ".log" : ".evtx");
  const std::string added = msi ? "/l*v " + Quoted(log) : "/log:" + Quoted(log);
  return {parameters.empty() ? added : parameters + " " + added, log};
}

bool UsesTemporaryFolder(const std::string& parameters) {
  return Upper(parameters).find("{TMP}") != std::string::npos;
}

std::string ReplaceTemporaryFolder(const std::string& parameters, const std::string& folder) {
  static const std::string kPlaceholder = "{TMP}";
  const std::string upper = Upper(parameters);
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = upper.find(kPlaceholder); at != std::string::npos;
       at = upper.find(kPlaceholder, from)) {
    result.append(parameters, from, at - from).append(folder);
    from = at + kPlaceholder.size();
  }
  return result.append(parameters, from, std::string::npos);
}

bool IsPlainLogName(const std::string& name) {
  if (name.empty() || name.find(':') != std::string::npos || name[0] == '\\' || name[0] == '/')
    return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = name.find_first_of("\\/", start);
    if (name.substr(start, end - start) == "..") return false;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return true;
}

// Only the Internet Explorer 7 package can be recognised: its record is a
// second-level key "ie7" under the update records.
bool RecordedAsInstalled(const std::string& path, release::OsIndex os,
                         const SubkeyLister& subkeys) {
  if (os != release::OsIndex::WindowsXP || Upper(path).find(kIe7Package) == std::string::npos)
    return false;
  bool found = false;
  for (const std::string& group : subkeys(kUpdateRecords)) {
    const auto names = subkeys(std::string(kUpdateRecords) + "\\" + group);
    found = found || std::any_of(names.begin(), names.end(),
                                 [](const std::string& name) { return Upper(name) == "IE7"; });
  }
  return found;
}

}  // namespace engine
