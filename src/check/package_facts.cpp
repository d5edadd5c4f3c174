#include "check/package_facts.h"

#include <cctype>
#include <map>

#include "check/cabinet.h"
#include "check/names.h"
#include "check/pe_reader.h"
#include "engine/package_command.h"
#include "release/detect_rule.h"
#include "release/msi_reader.h"
#include "release/text_encoding.h"

namespace check {

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "windows10.0-..." → "Windows 10"; "windows6.1-..." → "Windows 7".
std::string WindowsName(const std::string& version) {
  static const std::map<std::string, std::string> names = {
      {"6.0", "Windows Vista"}, {"6.1", "Windows 7"},   {"6.2", "Windows 8"},
      {"6.3", "Windows 8.1"},   {"10.0", "Windows 10"}, {"11.0", "Windows 11"},
      {"12.0", "Windows 12"}};
  const auto found = names.find(version);
  return found == names.end() ? "Windows" : found->second;
}

// The Windows version of an update's file name ("windows10.0-kb…" → "10.0").
std::string VersionInName(const std::string& lower) {
  if (lower.rfind("windows", 0) != 0) return {};
  std::size_t end = 7;
  while (end < lower.size() &&
         (std::isdigit(static_cast<unsigned char>(lower[end])) || lower[end] == '.'))
    ++end;
  return lower.substr(7, end - 7);
}

std::string ArchitectureInName(const std::string& lower) {
  for (const char* arch : {"x64", "x86", "arm64", "ia64"}) {
    if (lower.find(std::string("-") + arch) != std::string::npos) return arch;
  }
  return {};
}

// "key"="value" lines of a pkgProperties.txt, by key.
std::map<std::string, std::string> Properties(const std::string& bytes) {
  std::string text;
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
    text = release::Utf16LeToUtf8(std::string_view(bytes).substr(2));
  } else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    text = release::SanitizeUtf8(std::string_view(bytes).substr(3));
  } else {
    for (const char c : bytes)
      release::AppendUtf8(text, static_cast<unsigned char>(c));  // ASCII in practice
  }
  std::map<std::string, std::string> values;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    auto trim = [](std::string s) {
      while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '"')) s.pop_back();
      std::size_t i = 0;
      while (i < s.size() && (s[i] == ' ' || s[i] == '"')) ++i;
      return s.substr(i);
    };
    values[Fold(trim(line.substr(0, eq)))] = trim(line.substr(eq + 1));
  }
  return values;
}

std::string ArchitectureWord(const std::string& arch) {
  const std::string a = Fold(arch);
  if (a == "amd64" || a == "x64") return "x64";
  if (a == "x86" || a == "wow64") return "x86";
  if (a == "arm64") return "ARM64";
  return arch;
}

// "Werkzeug 2.5.1" of "Werkzeug" and "2.5.1"; a name that ends in the version already
// ("Werkzeug 2.5" of 2.5.0) keeps its own.
std::string WithVersion(const std::string& name, const std::string& version) {
  if (version.empty()) return name;
  const std::size_t blank = name.find_last_of(' ');
  const std::string last = blank == std::string::npos ? name : name.substr(blank + 1);
  if (!last.empty() && std::isdigit(static_cast<unsigned char>(last[0])) &&
      version.compare(0, last.size(), last) == 0)
    return name;
  return name + " " + version;
}

void FromMsu(const std::string& file, release::ByteSource& source, bool english,
             PackageFacts& facts) {
  const std::string lower = Fold(file);
  std::string kb = KbNumberInName(file), arch = ArchitectureInName(lower),
              windows = WindowsName(VersionInName(lower));
  std::string from = "from its file name";
  bool security = false;
  try {
    Cabinet cabinet(source);
    const CabinetFile* properties = nullptr;
    for (const CabinetFile& f : cabinet.Files()) {
      if (EndsWith(Fold(f.name), "pkgproperties.txt")) properties = &f;
    }
    if (!properties) throw release::UnreadablePackage("the cabinet holds no *-pkgProperties.txt");
    if (properties->size > (1u << 20))
      throw release::UnreadablePackage("its pkgProperties.txt is larger than 1 MiB");
    const std::map<std::string, std::string> values = Properties(cabinet.Extract(*properties));
    const auto value = [&](const char* key) {
      const auto found = values.find(key);
      return found == values.end() ? std::string() : found->second;
    };
    std::string number = value("kb article number");
    while (!number.empty() && !std::isdigit(static_cast<unsigned char>(number[0])))
      number.erase(0, 1);
    if (number.empty())
      throw release::UnreadablePackage("its pkgProperties.txt names no KB Article Number");
    kb = number;
    if (!value("processor architecture").empty())
      arch = ArchitectureWord(value("processor architecture"));
    const std::string product = value("product name");  // "Windows 10.0"
    if (product.rfind("Windows ", 0) == 0) windows = WindowsName(product.substr(8));
    for (const auto& [key, text] : values) {
      if (Fold(text).find("servicing stack") != std::string::npos) facts.servicing_stack = true;
      if (Fold(text).find("security update") != std::string::npos) security = true;
    }
    from = "from its properties";
  } catch (const release::UnreadablePackage& e) {
    facts.missing = std::string("its properties can't be read (") + e.what() + ")";
  }
  if (kb.empty()) {
    facts.missing += std::string(facts.missing.empty() ? "" : "; ") +
                     "no KB number: neither its properties nor its file name tell one, so Name and "
                     "Detect stay without it";
    facts.name = english ? "Update for Windows" : "Update für Windows";
    facts.found = "an update for " + windows;
  } else {
    const std::string what = facts.servicing_stack
                                 ? (english ? "Servicing Stack Update" : "Wartungsstapelupdate")
                             : security ? (english ? "Security Update" : "Sicherheitsupdate")
                                        : "Update";
    facts.name = what + (english ? " for " : " für ") + windows + " (KB" + kb + ")";
    facts.detect = "KB" + kb;
    facts.found = "KB" + kb + (arch.empty() ? "" : ", " + arch) +
                  (facts.servicing_stack ? ", servicing stack" : "") + ", " + from;
  }
  facts.parameters = "/quiet /norestart";
}

void FromMsi(const std::string& file, release::ByteSource& source, PackageFacts& facts) {
  try {
    const release::MsiProperties msi = release::ReadMsiProperties(source);
    const auto value = [&](const char* key) {
      const auto found = msi.values.find(key);
      return found == msi.values.end() ? std::string() : found->second;
    };
    const std::string name = value("ProductName"), version = value("ProductVersion"),
                      code = value("ProductCode");
    facts.name = name.empty() ? file : WithVersion(name, version);
    if (!code.empty()) facts.detect = "msi:" + code;
    facts.found = facts.name + (code.empty() ? "" : ", " + code) + ", code page " +
                  std::to_string(msi.code_page);
    std::string missing;
    if (name.empty()) missing = "no ProductName";
    if (code.empty())
      missing += std::string(missing.empty() ? "" : ", ") + "no ProductCode (Detect stays empty)";
    if (!msi.note.empty()) missing += std::string(missing.empty() ? "" : "; ") + msi.note;
    facts.missing = missing;
  } catch (const release::UnreadablePackage& e) {
    facts.name = file;
    facts.found = "a Windows Installer package by its name";
    facts.missing =
        std::string("its database can't be read (") + e.what() + "): no name, no product code";
  }
  facts.parameters = "/qn /norestart";
}

void FromExe(const std::string& file, release::ByteSource& source, PackageFacts& facts) {
  const std::string note_detect =
      "Detect stays empty: write a file: or reg: rule that tells it installed";
  try {
    const ProgramFacts program = ReadProgram(source);
    const auto value = [&](const char* key) {
      const auto found = program.strings.find(key);
      return found == program.strings.end() ? std::string() : found->second;
    };
    std::string name = value("FileDescription");
    if (name.empty()) name = value("ProductName");
    std::string version = program.version;
    if (version.empty()) version = value("ProductVersion");
    facts.name = name.empty() ? file : WithVersion(name, version);
    facts.parameters = SilentSwitches(program.kind);
    facts.found = std::string(program.x64 ? "64-bit " : "32-bit ") + KindName(program.kind) +
                  (program.mark.empty() ? "" : " (" + program.mark + ")") +
                  (name.empty() ? "" : ", " + facts.name);
    std::string missing;
    if (name.empty())
      missing = program.note.empty() ? "no name in its version resource" : program.note;
    if (program.kind == InstallerKind::Unknown)
      missing += std::string(missing.empty() ? "" : "; ") +
                 "its kind can't be told: Parameters stays empty and the package may show windows "
                 "of its own";
    facts.missing = missing + (missing.empty() ? "" : "; ") + note_detect;
  } catch (const release::UnreadablePackage& e) {
    facts.name = file;
    facts.found = "a program by its name";
    facts.missing =
        std::string("it can't be read (") + e.what() +
        "): no name, Parameters stays empty and the package may show windows of its own; " +
        note_detect;
  }
}

}  // namespace

std::string KbNumberInName(const std::string& file) {
  const std::string lower = Fold(file);
  for (std::size_t at = lower.find("kb"); at != std::string::npos; at = lower.find("kb", at + 1)) {
    std::size_t end = at + 2;
    while (end < lower.size() && std::isdigit(static_cast<unsigned char>(lower[end]))) ++end;
    const bool starts_word = at == 0 || !std::isalnum(static_cast<unsigned char>(lower[at - 1]));
    if (starts_word && end - at >= 5 && end - at <= 10) return lower.substr(at + 2, end - at - 2);
  }
  return {};
}

namespace {

// A value for a line of Settings.ini: valid UTF-8, control characters as blanks, no blanks or
// quotes at its ends (the reader would drop them), at most `limit` bytes.
std::string OneLine(const std::string& text, std::size_t limit = 1000) {
  std::string line = release::SanitizeUtf8(text);
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  line.resize(release::Utf8PrefixLength(line, limit));
  const std::size_t start = line.find_first_not_of(" \"'");
  if (start == std::string::npos) return {};
  return line.substr(start, line.find_last_not_of(" \"'") - start + 1);
}

}  // namespace

PackageFacts ReadPackage(const std::string& file, release::ByteSource& source, bool english) {
  PackageFacts facts;
  const std::string lower = Fold(file);
  if (EndsWith(lower, ".msu")) {
    FromMsu(file, source, english, facts);
  } else if (EndsWith(lower, ".msi")) {
    FromMsi(file, source, facts);
  } else {
    FromExe(file, source, facts);
  }
  facts.name = OneLine(facts.name, 250);
  if (facts.name.empty()) facts.name = OneLine(file);
  if (facts.name.empty()) facts.name = "?";
  facts.found = OneLine(facts.found);
  facts.missing = OneLine(facts.missing);
  facts.detect = OneLine(facts.detect);
  if (!facts.detect.empty() &&
      release::ParseDetectRule(facts.detect).fault != release::RuleFault::None) {
    facts.missing += std::string(facts.missing.empty() ? "" : "; ") +
                     "Detect stays empty: " + facts.detect + " is no rule the installer reads";
    facts.detect.clear();
  }
  return facts;
}

}  // namespace check
