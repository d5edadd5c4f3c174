#include "check/release_view.h"

#include <algorithm>

#include "check/names.h"
#include "release/errors.h"
#include "release/integer_text.h"

namespace check {

namespace {

// Hands the installer's loading code the values of an INI file and notes
// each key it asks for. A value can be put in place of the file's, so that
// loading goes on where the installer would stop.
class RecordingProfile : public release::Profile {
 public:
  RecordingProfile(const release::Profile& source, ReadLog& log) : source_(source), log_(log) {}

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const override {
    log_.Add(section, key);
    last_ = {std::string(section), std::string(key)};
    const auto put = instead_.find({Fold(section), Fold(key)});
    if (put != instead_.end()) return put->second;
    return source_.ReadString(section, key, fallback);
  }

  void PutInstead(const std::string& section, const std::string& key, std::string value) {
    instead_[{Fold(section), Fold(key)}] = std::move(value);
  }
  const std::pair<std::string, std::string>& LastRead() const { return last_; }

 private:
  const release::Profile& source_;
  ReadLog& log_;
  mutable std::pair<std::string, std::string> last_;
  std::map<std::pair<std::string, std::string>, std::string> instead_;
};

void LoadDocument(ReleaseFiles& files, const std::string& path, const std::string& name,
                  IniDocument& doc) {
  doc.name = name;
  doc.kind = files.KindOf(path);
  if (doc.kind != EntryKind::File) return;
  auto bytes = files.ReadBytes(path);
  if (!bytes) return;
  doc.readable = true;
  doc.bytes = std::move(*bytes);
  const std::string_view b = doc.bytes;
  doc.has_bom = b.substr(0, 3) == "\xEF\xBB\xBF" || b.substr(0, 2) == "\xFF\xFE";
  doc.ini = release::IniFile::Decode(
      b, [&files](std::string_view ansi) { return files.DecodeAnsi(ansi); }, &doc.outline);
  doc.Index();
}

// The highest package section in the installer's form, [File1] to [File1000].
int HighestPackageSection(const IniDocument& doc) {
  int highest = 0;
  for (const release::IniLine& line : doc.outline) {
    if (line.kind != release::IniLine::Kind::Section || !line.counts) continue;
    const auto n = NumberAfter(line.section, "file");
    if (n && *n <= release::PackageTable::kCapacity &&
        Fold(line.section) == "file" + std::to_string(*n))
      highest = std::max(highest, *n);
  }
  return highest;
}

}  // namespace

void IniDocument::Index() {
  values_.clear();
  sections_.clear();
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const release::IniLine& line = outline[i];
    if (!line.counts) continue;
    if (line.kind == release::IniLine::Kind::Section) sections_.emplace(Fold(line.section), i);
    if (line.kind == release::IniLine::Kind::Key)
      values_.emplace(std::make_pair(Fold(line.section), Fold(line.key)), i);
  }
}

const release::IniLine* IniDocument::Value(std::string_view section, std::string_view key) const {
  const auto it = values_.find({Fold(section), Fold(key)});
  return it == values_.end() ? nullptr : &outline[it->second];
}

const release::IniLine* IniDocument::Section(std::string_view section) const {
  const auto it = sections_.find(Fold(section));
  return it == sections_.end() ? nullptr : &outline[it->second];
}

void ReadLog::Add(std::string_view section, std::string_view key) {
  const std::string s = Fold(section), k = Fold(key);
  if (!read_.insert({s, k}).second) return;
  auto [keys, first] = keys_.try_emplace(s);
  if (first) sections_.emplace_back(section);
  keys->second.emplace_back(key);
}

bool ReadLog::WasRead(std::string_view section, std::string_view key) const {
  return read_.count({Fold(section), Fold(key)}) != 0;
}

bool ReadLog::SectionRead(std::string_view section) const {
  return keys_.count(Fold(section)) != 0;
}

std::vector<std::string> ReadLog::Keys(std::string_view section) const {
  const auto it = keys_.find(Fold(section));
  return it == keys_.end() ? std::vector<std::string>() : it->second;
}

bool ReleaseView::IsBlock(std::string_view section) const {
  return settings_reads.WasRead("Lines", section);
}

std::optional<ReleaseView> LoadRelease(ReleaseFiles& files) {
  ReleaseView view;
  if (files.KindOf("Data") == EntryKind::Folder) {
    view.data = "Data\\";
  } else if (files.KindOf("Settings.ini") == EntryKind::File ||
             files.KindOf("Language.ini") == EntryKind::File) {
    view.root = "..\\";
  } else {
    return std::nullopt;
  }
  LoadDocument(files, view.data + "Settings.ini", "Data\\Settings.ini", view.settings);
  LoadDocument(files, view.data + "Language.ini", "Data\\Language.ini", view.language);

  // In the installer's order: the words, the settings, the package table.
  view.words = release::LoadWords(RecordingProfile(view.language.ini, view.language_reads));

  RecordingProfile settings(view.settings.ini, view.settings_reads);
  for (;;) {
    try {
      view.seen = release::LoadSettings(settings);
      break;
    } catch (const release::RangeError&) {
      // A [Lines] count above the bound stops the start; read on as if it
      // were the bound, to see what else the installer would read.
      const auto [section, key] = settings.LastRead();
      if (std::find(view.blocks_over_bound.begin(), view.blocks_over_bound.end(), key) !=
          view.blocks_over_bound.end())
        throw;
      view.blocks_over_bound.push_back(key);
      settings.PutInstead(section, key, std::to_string(release::kMaxBlockLines));
    }
  }

  view.files = release::ParseInteger(view.seen.Files);
  const std::string files_text =
      view.files ? view.seen.Files : std::to_string(HighestPackageSection(view.settings));
  view.packages = std::make_unique<release::PackageTable>();
  try {
    release::LoadPackageTable(settings, files_text, *view.packages);
    view.package_count = view.packages->Count();
  } catch (const release::RangeError&) {
    view.package_count = release::PackageTable::kCapacity;  // filled up to the bound
  }
  return view;
}

}  // namespace check
