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

IniFile IniFile::Parse(std::string_view text, std::vector<IniLine>* outline) {
  IniFile ini;
  Section* current = nullptr;  // null before the first section and inside a repeated one
  std::string current_name;    // as written, for the outline
  bool in_section = false;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    const std::string_view line = Trim(raw);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close == std::string_view::npos) {
        if (outline) {
          IniLine broken;
          broken.kind = IniLine::Kind::BrokenSection;
          broken.line = number;
          broken.section = std::string(Trim(line.substr(1)));
          outline->push_back(std::move(broken));
        }
        continue;
      }
      const std::string_view name = Trim(line.substr(1, close - 1));
      auto [it, inserted] = ini.sections_.try_emplace(Folded(name));
      current = inserted ? &it->second : nullptr;
      in_section = true;
      if (outline) {
        current_name = std::string(name);
        IniLine section;
        section.kind = IniLine::Kind::Section;
        section.line = number;
        section.section = current_name;
        section.counts = inserted;
        outline->push_back(std::move(section));
      }
      continue;
    }
    if (current == nullptr && !outline) continue;
    const std::size_t eq = line.find('=');
    const std::string_view key = Trim(line.substr(0, eq));
    const std::string_view written =
        eq == std::string_view::npos ? std::string_view() : Trim(line.substr(eq + 1));
    const std::string_view unquoted = Unquoted(written);
    const std::string_view value = unquoted.substr(0, Utf8PrefixLength(unquoted, kMaxValueLength));
    const bool counts = current != nullptr && current->try_emplace(Folded(key), value).second;
    if (!outline) continue;

    IniLine entry;
    entry.kind = in_section ? IniLine::Kind::Key : IniLine::Kind::Outside;
    entry.line = number;
    entry.section = current_name;
    entry.key = std::string(key);
    entry.value = std::string(value);
    entry.has_equals = eq != std::string_view::npos;
    entry.quoted = unquoted.size() != written.size();
    // What followed "=" on the line, without the line's own end.
    std::string_view after = entry.has_equals ? raw.substr(raw.find('=') + 1) : std::string_view();
    if (!after.empty() && after.back() == '\r') after.remove_suffix(1);
    entry.blanks_dropped = after.size() != written.size();
    entry.cut = value.size() != unquoted.size();
    entry.counts = counts;
    outline->push_back(std::move(entry));
  }
  return ini;
}

IniFile IniFile::Decode(std::string_view bytes, const AnsiDecoder& decode_ansi,
                        std::vector<IniLine>* outline) {
  return Parse(DecodeText(bytes, decode_ansi), outline);
}

IniFile IniFile::Load(platform::System& system, const std::string& path) {
  const auto bytes = system.ReadFileBytes(path);
  if (!bytes) return IniFile();
  return Decode(*bytes, [&](std::string_view b) { return system.DecodeAnsi(b); });
}

std::string IniFile::FoldName(std::string_view name) {
  return Folded(name);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  const auto s = sections_.find(Folded(section));
  if (s == sections_.end()) return std::string(fallback);
  const auto k = s->second.find(Folded(key));
  return k == s->second.end() ? std::string(fallback) : k->second;
}

}  // namespace release
