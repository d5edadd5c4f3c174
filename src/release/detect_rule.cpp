#include "release/detect_rule.h"

#include <vector>

namespace release {

namespace {

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// `text` starts with `prefix` in any letter case; the rest goes to `rest`.
bool TakePrefix(const std::string& text, const std::string& prefix, std::string& rest) {
  if (Upper(text.substr(0, prefix.size())) != prefix) return false;
  rest = text.substr(prefix.size());
  return true;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string::npos;
       at = text.find(separator, start)) {
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

ParsedRule Fault(RuleFault fault) {
  return {{}, fault};
}

ParsedRule Update(const std::string& text) {
  const std::string digits = text.substr(2);
  bool only_digits = !digits.empty();
  for (const char c : digits) only_digits = only_digits && IsDigit(c);
  if (!only_digits) return Fault(RuleFault::BadUpdateNumber);
  return {{DetectRule::Kind::Update, "KB" + digits, {}, {}, {}}, RuleFault::None};
}

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
ParsedRule MsiProduct(const std::string& code) {
  static const std::string kPattern = "{........-....-....-....-............}";
  bool matches = code.size() == kPattern.size();
  for (std::size_t i = 0; matches && i < code.size(); ++i) {
    matches = kPattern[i] == '.' ? IsHexDigit(code[i]) : code[i] == kPattern[i];
  }
  if (!matches) return Fault(RuleFault::BadProductCode);
  return {{DetectRule::Kind::MsiProduct, Upper(code), {}, {}, {}}, RuleFault::None};
}

// One to four numbers up to 65535, parted by dots; missing parts are 0.
std::optional<std::uint64_t> ParseVersion(const std::string& text) {
  const std::vector<std::string> parts = Split(text, '.');
  if (parts.size() > 4) return std::nullopt;
  std::uint64_t version = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    std::uint32_t part = 0;
    if (i < parts.size()) {
      const std::string& digits = parts[i];
      if (digits.empty() || digits.size() > 5) return std::nullopt;
      for (const char c : digits) {
        if (!IsDigit(c)) return std::nullopt;
        part = part * 10 + static_cast<std::uint32_t>(c - '0');
      }
      if (part > 0xFFFF) return std::nullopt;
    }
    version = (version << 16) | part;
  }
  return version;
}

// A path that means the same wherever the installer starts: from a drive's
// root, a share, or an environment variable such as %SystemRoot%.
bool IsRootedPath(const std::string& path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
  return drive || path.rfind("\\\\", 0) == 0 || path.rfind('%', 0) == 0;
}

ParsedRule File(const std::string& text) {
  const std::size_t compare = text.find('>');  // no file name holds it
  DetectRule rule{DetectRule::Kind::File, text.substr(0, compare), {}, {}, {}};
  if (!IsRootedPath(rule.target)) return Fault(RuleFault::BadFilePath);
  if (compare != std::string::npos) {
    rule.least_version =
        text.compare(compare, 2, ">=") == 0 ? ParseVersion(text.substr(compare + 2)) : std::nullopt;
    if (!rule.least_version) return Fault(RuleFault::BadVersion);
  }
  return {rule, RuleFault::None};
}

// The first "=" parts the path from the data, so neither the key's nor the
// value's name may hold one.
ParsedRule Registry(const std::string& text) {
  std::string path;
  if (!TakePrefix(text, "HKLM\\", path) && !TakePrefix(text, "HKEY_LOCAL_MACHINE\\", path)) {
    return Fault(RuleFault::NotMachineKey);
  }
  const std::size_t equals = path.find('=');
  const std::vector<std::string> names = Split(path.substr(0, equals), '\\');
  for (const std::string& name : names) {
    if (name.empty()) return Fault(RuleFault::BadKeyPath);
  }
  if (equals == std::string::npos) {
    return {{DetectRule::Kind::RegistryKey, path, {}, {}, {}}, RuleFault::None};
  }
  if (names.size() < 2) return Fault(RuleFault::BadKeyPath);  // a value needs its key
  const std::size_t value_start = path.rfind('\\', equals) + 1;
  return {{DetectRule::Kind::RegistryValue,
           path.substr(0, value_start - 1),
           path.substr(value_start, equals - value_start),
           path.substr(equals + 1),
           {}},
          RuleFault::None};
}

}  // namespace

ParsedRule ParseDetectRule(const std::string& text) {
  std::string rest;
  if (TakePrefix(text, "MSI:", rest)) return MsiProduct(rest);
  if (TakePrefix(text, "FILE:", rest)) return File(rest);
  if (TakePrefix(text, "REG:", rest)) return Registry(rest);
  if (TakePrefix(text, "KB", rest)) return Update(text);
  return Fault(RuleFault::UnknownKind);
}

std::string FaultText(RuleFault fault) {
  switch (fault) {
    case RuleFault::None:
      break;
    case RuleFault::UnknownKind:
      return "unbekannte Art der Regel (KB..., msi:, file: oder reg:)";
    case RuleFault::BadUpdateNumber:
      return "nach KB stehen nicht nur Ziffern";
    case RuleFault::BadProductCode:
      return "kein Produktcode der Form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    case RuleFault::BadFilePath:
      return "kein vollständiger Pfad (Laufwerk, Freigabe oder Umgebungsvariable)";
    case RuleFault::BadVersion:
      return "keine Dateiversion nach >= (bis zu vier Zahlen bis 65535, durch Punkte getrennt)";
    case RuleFault::NotMachineKey:
      return "der Schlüssel liegt nicht unter HKLM";
    case RuleFault::BadKeyPath:
      return "unvollständiger Schlüssel- oder Wertname";
  }
  return {};
}

std::string VersionText(std::uint64_t version) {
  std::string text;
  for (int shift = 48; shift >= 0; shift -= 16) {
    text += std::to_string((version >> shift) & 0xFFFF) + (shift > 0 ? "." : "");
  }
  return text;
}

}  // namespace release
