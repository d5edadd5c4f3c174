#include "release/ini_file.h"

#include "platform/system.h"
#include "release/integer_text.h"
#include "release/text_encoding.h"

namespace release {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Folded(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::int32_t Profile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
  return StrToIntDef(ReadString(section, key, ""), fallback);
}

bool Profile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  Section* current = nullptr;  // null before the first section and inside a repeated one
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close == std::string_view::npos) continue;
      auto [it, inserted] = ini.sections_.try_emplace(Folded(Trim(line.substr(1, close - 1))));
      current = inserted ? &it->second : nullptr;
      continue;
    }
    if (current == nullptr) continue;
    const std::size_t eq = line.find('=');
    const std::string_view key = Trim(line.substr(0, eq));
    std::string_view value =
        eq == std::string_view::npos ? std::string_view() : Unquoted(Trim(line.substr(eq + 1)));
    value = value.substr(0, Utf8PrefixLength(value, kMaxValueLength));
    current->try_emplace(Folded(key), value);
  }
  return ini;
}

IniFile IniFile::Load(platform::System& system, const std::string& path) {
  const auto bytes = system.ReadFileBytes(path);
  if (!bytes) return IniFile();
  return Parse(DecodeText(*bytes, [&](std::string_view b) { return system.DecodeAnsi(b); }));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  const auto s = sections_.find(Folded(section));
  if (s == sections_.end()) return std::string(fallback);
  const auto k = s->second.find(Folded(key));
  return k == s->second.end() ? std::string(fallback) : k->second;
}

}  // namespace release
