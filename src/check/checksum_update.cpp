#include "check/checksum_update.h"

#include <iterator>
#include <stdexcept>

#include "check/names.h"
#include "check/release_view.h"
#include "check/report.h"
#include "release/sha256.h"
#include "release/text_encoding.h"

namespace check {

namespace {

constexpr char kKey[] = "Sha256";

// Where a package's section lies, by line number: the lines the new value
// goes to.
struct SectionPlace {
  int last_line = 0;                         // its last key, or the section's line without one
  const release::IniLine* sha256 = nullptr;  // the key the installer reads, if there is one
};

// The package number of a section the installer reads as one: [File7], not [File007].
std::optional<int> PackageNumber(const std::string& section) {
  const std::optional<int> n = NumberAfter(section, "file");
  if (!n || Fold(section) != "file" + std::to_string(*n)) return std::nullopt;
  return n;
}

// The sections that count, with the keys that belong to them: a "[" line
// without "]" leaves its keys in the section before, and the keys of a
// repeated section are not read at all.
std::map<int, SectionPlace> PackageSections(const std::vector<release::IniLine>& outline) {
  std::map<int, SectionPlace> places;
  SectionPlace* current = nullptr;
  for (const release::IniLine& line : outline) {
    if (line.kind == release::IniLine::Kind::Section) {
      const std::optional<int> n = line.counts ? PackageNumber(line.section) : std::nullopt;
      current = n ? &places[*n] : nullptr;
      if (current) current->last_line = line.line;
    } else if (line.kind == release::IniLine::Kind::Key && current) {
      current->last_line = line.line;
      if (line.counts && Fold(line.key) == Fold(kKey)) current->sha256 = &line;
    }
  }
  return places;
}

// What goes where, by line number of the old text.
struct Plan {
  std::map<int, std::string> values;  // a key's new value
  std::map<int, std::string> keys;    // a key to add after the line, with its value
};

Plan PlanChanges(const std::map<int, SectionPlace>& places,
                 const std::map<int, std::string>& sha256, std::vector<ChecksumChange>& changes) {
  Plan plan;
  for (const auto& [package, value] : sha256) {
    const auto place = places.find(package);
    if (place == places.end()) continue;
    const release::IniLine* key = place->second.sha256;
    if (!key) {
      plan.keys[place->second.last_line] = value;
      changes.push_back({package, ChecksumChange::Kind::Added, place->second.last_line, {}});
    } else if (release::SameSha256(key->value, value)) {
      changes.push_back({package, ChecksumChange::Kind::Unchanged, key->line, {}});
    } else {
      plan.values[key->line] = value;
      changes.push_back({package, ChecksumChange::Kind::Refreshed, key->line, key->value});
    }
  }
  return plan;
}

// The lines in the new text: keys added above a line move it down. An added
// key's line was the one it follows.
void Renumber(std::vector<ChecksumChange>& changes, const Plan& plan) {
  for (ChecksumChange& change : changes) {
    const auto above = std::distance(plan.keys.begin(), plan.keys.lower_bound(change.line));
    change.line += static_cast<int>(above) + (change.kind == ChecksumChange::Kind::Added ? 1 : 0);
  }
}

bool IsBlank(char16_t c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

// The lines of a text in its own code units (bytes, or UTF-16 units), split
// at "\n" as the reader splits them; a "\r" before it stays with its line.
template <typename Unit>
class Lines {
 public:
  using Line = std::basic_string<Unit>;

  explicit Lines(const Line& text) {
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(Unit('\n'), start)) != Line::npos; start = end + 1) {
      lines_.push_back(text.substr(start, end - start));
    }
    ends_with_break_ = start == text.size();
    if (!ends_with_break_) lines_.push_back(text.substr(start));
  }

  // The lines with the plan's values put in and keys added.
  Line Changed(const Plan& plan) const {
    Line text;
    for (int number = 1; number <= static_cast<int>(lines_.size()); ++number) {
      Line line = lines_[number - 1];
      const auto value = plan.values.find(number);
      if (value != plan.values.end()) line = WithValue(line, value->second);
      const auto key = plan.keys.find(number);
      if (key == plan.keys.end()) {
        Append(text, line);
        continue;
      }
      Line added = Widen(std::string(kKey) + "=" + key->second);
      const bool crlf = EndsInCrLf(number);
      if (number == static_cast<int>(lines_.size()) && !ends_with_break_) {
        if (crlf) line += Unit('\r');  // the added key is the last line now
      } else if (crlf) {
        added += Unit('\r');
      }
      Append(text, line);
      Append(text, added);
    }
    if (!ends_with_break_ && !text.empty()) text.pop_back();
    return text;
  }

 private:
  static Line Widen(const std::string& ascii) { return Line(ascii.begin(), ascii.end()); }

  static void Append(Line& text, const Line& line) {
    text += line;
    text += Unit('\n');
  }

  // The line with `value` after its "=" and the blanks that follow it; a
  // key without "=" gets one.
  static Line WithValue(Line line, const std::string& value) {
    const bool cr = EndsInCr(line);
    if (cr) line.pop_back();
    std::size_t end = line.find(Unit('='));
    if (end == Line::npos) {
      while (!line.empty() && IsBlank(line.back())) line.pop_back();
      line += Unit('=');
      end = line.size();
    } else {
      for (++end; end < line.size() && IsBlank(line[end]);) ++end;
    }
    line.resize(end);
    line += Widen(value);
    if (cr) line += Unit('\r');
    return line;
  }

  // A line with its own line end keeps its kind for the line after it; the
  // last line without one takes the file's (CR LF in a file without any).
  bool EndsInCrLf(int number) const {
    const bool has_end = number < static_cast<int>(lines_.size()) || ends_with_break_;
    if (has_end) return EndsInCr(lines_[number - 1]);
    return lines_.size() < 2 || EndsInCr(lines_.front());
  }
  static bool EndsInCr(const Line& line) { return !line.empty() && line.back() == Unit('\r'); }

  std::vector<Line> lines_;
  bool ends_with_break_ = false;

 public:
  // The line end of the file's first line: CR LF in a file without any.
  bool UsesCrLf() const { return lines_.size() < 2 || EndsInCr(lines_.front()); }
};

std::u16string Utf16Units(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return units;
}

std::string Utf16Bytes(const std::u16string& units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace

std::string SetChecksums(std::string_view bytes, const std::vector<release::IniLine>& outline,
                         const std::map<int, std::string>& sha256,
                         std::vector<ChecksumChange>& changes) {
  const Plan plan = PlanChanges(PackageSections(outline), sha256, changes);
  std::string text;
  if (bytes.substr(0, 2) != "\xFF\xFE") {
    text = Lines<char>(std::string(bytes)).Changed(plan);
  } else {
    // A last odd byte is a cut character at the end of the last line: a key
    // added after that line would take it over.
    if (bytes.size() % 2 != 0) {
      throw std::invalid_argument(
          "is UTF-16 with an odd number of bytes: its last character is cut off");
    }
    text = std::string(bytes.substr(0, 2)) +
           Utf16Bytes(Lines<char16_t>(Utf16Units(bytes.substr(2))).Changed(plan));
  }
  Renumber(changes, plan);
  return text;
}

namespace {

template <typename Unit>
std::basic_string<Unit> Extended(const std::basic_string<Unit>& text, const Plan& plan,
                                 const std::vector<std::basic_string<Unit>>& tail) {
  const Lines<Unit> lines(text);
  std::basic_string<Unit> out = lines.Changed(plan);
  if (!out.empty() && out.back() != Unit('\n')) {
    if (lines.UsesCrLf()) out += Unit('\r');
    out += Unit('\n');
  }
  for (const auto& line : tail) {
    out += line;
    if (lines.UsesCrLf()) out += Unit('\r');
    out += Unit('\n');
  }
  return out;
}

}  // namespace

std::string ExtendIni(std::string_view bytes, int line, const std::string& value,
                      const std::vector<std::string>& tail) {
  Plan plan;
  plan.values[line] = value;
  if (bytes.substr(0, 2) == "\xFF\xFE") {
    if (bytes.size() % 2 != 0) {
      throw std::invalid_argument(
          "is UTF-16 with an odd number of bytes: its last character is cut off");
    }
    std::vector<std::u16string> wide;
    for (const std::string& t : tail) wide.push_back(Utf16Units(release::Utf8ToUtf16Le(t)));
    return std::string(bytes.substr(0, 2)) +
           Utf16Bytes(Extended(Utf16Units(bytes.substr(2)), plan, wide));
  }
  const bool utf8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
  std::vector<std::string> narrow;
  for (const std::string& t : tail) narrow.push_back(utf8 ? t : release::Utf8ToWindows1252(t));
  return Extended(std::string(bytes), plan, narrow);
}

std::optional<std::string> HashFile(ReleaseFiles& files, const std::string& path,
                                    std::string& reason) {
  release::Sha256 hash;
  if (!files.ReadInBlocks(
          path, [&hash](std::string_view block) { hash.Update(block); }, reason)) {
    return std::nullopt;
  }
  return hash.HexDigest();
}

namespace {

// The checksum of each package whose file can be read; why not, by package, for the others.
std::map<int, std::string> PackageChecksums(const ReleaseView& view, ReleaseFiles& files,
                                            std::map<int, std::string>& unread) {
  std::map<int, std::string> sha256;
  for (int n = 1; n <= view.package_count; ++n) {
    const std::string& file = (*view.packages)[n].File;
    if (file.empty()) continue;
    std::string reason;
    if (const std::optional<std::string> found = HashFile(files, view.data + file, reason)) {
      sha256[n] = *found;
    } else {
      unread[n] = reason;
    }
  }
  return sha256;
}

// The files not read, at their lines in the release as it is now.
std::vector<Finding> Unread(const ReleaseView& view, const std::map<int, std::string>& unread) {
  Report report;
  for (const auto& [n, reason] : unread) {
    report.AtKey("package-file-unreadable", Severity::Error, view.settings,
                 "File" + std::to_string(n), "File",
                 "package file " + Quoted((*view.packages)[n].File) + " can't be read (" + reason +
                     "): its Sha256 stays as it was",
                 "put the file into Data, or correct the path");
  }
  return report.Sorted();
}

}  // namespace

std::optional<ChecksumUpdate> UpdateChecksums(ReleaseFiles& files) {
  std::optional<ReleaseView> view = LoadRelease(files);
  if (!view) return std::nullopt;
  ChecksumUpdate update;
  const IniDocument& settings = view->settings;
  if (!settings.readable) {
    update.failure = settings.name + " can't be read";
    return update;
  }
  std::map<int, std::string> unread;
  const std::map<int, std::string> sha256 = PackageChecksums(*view, files, unread);
  std::string text;
  try {
    text = SetChecksums(settings.bytes, settings.outline, sha256, update.changes);
  } catch (const std::invalid_argument& e) {
    update.failure = settings.name + " " + e.what() + ": mend it, then write the checksums";
    return update;
  }
  std::string reason;
  if (text != settings.bytes) {
    if (!files.ReplaceBytes(view->data + "Settings.ini", text, reason)) {
      update.failure = settings.name + " can't be written: " + reason;
      return update;
    }
    view = LoadRelease(files);  // the lines as they are now
    if (!view) return std::nullopt;
  }
  update.problems = Unread(*view, unread);
  return update;
}

}  // namespace check
