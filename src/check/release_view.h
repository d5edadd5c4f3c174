// A release as the installer sees it, read with the installer's own code:
// its two INI files (with the outline of each as the reader took it), which
// keys the installer's loading code reads, and what it reads from them.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/release_files.h"
#include "release/ini_file.h"
#include "release/settings.h"
#include "release/words.h"

namespace check {

struct IniDocument {
  std::string name;  // relative to the release folder: "Data\Settings.ini"
  EntryKind kind = EntryKind::Missing;
  bool readable = false;
  bool has_bom = false;  // UTF-8 or UTF-16 LE; without one the text is ANSI
  std::string bytes;
  std::vector<release::IniLine> outline;
  release::IniFile ini;

  // The key line whose value ReadString gives; null when the file lacks it.
  const release::IniLine* Value(std::string_view section, std::string_view key) const;
  // The line of the section that counts; null when the file lacks it.
  const release::IniLine* Section(std::string_view section) const;

  void Index();

 private:
  std::map<std::pair<std::string, std::string>, std::size_t> values_;
  std::map<std::string, std::size_t> sections_;
};

// The sections and keys that the installer's loading code asked for, in its
// own spelling, whether the file has them or not.
class ReadLog {
 public:
  void Add(std::string_view section, std::string_view key);
  bool WasRead(std::string_view section, std::string_view key) const;
  bool SectionRead(std::string_view section) const;
  // Sections in the order of their first read; keys of a section likewise.
  const std::vector<std::string>& Sections() const { return sections_; }
  std::vector<std::string> Keys(std::string_view section) const;

 private:
  std::vector<std::string> sections_;
  std::map<std::string, std::vector<std::string>> keys_;  // by folded section
  std::set<std::pair<std::string, std::string>> read_;    // folded
};

struct ReleaseView {
  std::string data;  // where Data's files are for ReleaseFiles: "Data\" or ""
  std::string root;  // where the program's folder is: "" or "..\"
  IniDocument settings, language;
  ReadLog settings_reads, language_reads;

  release::SetupSettings seen;
  release::WordTable words;
  std::unique_ptr<release::PackageTable> packages;
  // Files as the installer converts it; nothing when it is not a number.
  std::optional<int> files;
  // The package sections the checks look at: 1 to Files (at most 1000), or,
  // when Files is not a number, to the highest [FileN] present.
  int package_count = 0;
  // The [Lines] keys whose count is above the most lines a block may have.
  std::vector<std::string> blocks_over_bound;

  // The text blocks: the keys the installer reads in [Lines].
  std::vector<std::string> Blocks() const { return settings_reads.Keys("Lines"); }
  bool IsBlock(std::string_view section) const;
};

// Reads the release in the folder of `files`: the folder of Installer.exe
// (with a Data folder) or the Data folder (with Settings.ini or
// Language.ini). Nothing when it is neither.
std::optional<ReleaseView> LoadRelease(ReleaseFiles& files);

}  // namespace check
