// INI files with the rules of the Windows profile-string reader, parsed once
// into memory: section and key names match without regard to case, blanks
// around a value are dropped, one pair of enclosing quotes is dropped, at most
// 2047 characters of a value arrive, the first of two equal keys (and of two
// equal sections) wins, and lines starting with ';' are comments.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "release/text_encoding.h"

namespace platform {
class System;
}

namespace release {

// Reads values key by key; what the settings and words are loaded from.
class Profile {
 public:
  virtual ~Profile() = default;

  // The value, or `fallback` when the section or key is missing.
  virtual std::string ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const = 0;

  // An integer value; `fallback` when missing or not an integer.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t fallback) const;

  // An integer value read as a flag: non-zero is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
};

// One line of an INI file as the reader took it, for tools that look at a
// release the way the installer reads it. Comments and blank lines have none.
struct IniLine {
  enum class Kind {
    Section,        // "[name]"
    BrokenSection,  // "[name" without "]": ignored, the keys after it stay in the section before
    Key,            // "key=value", or a line without "=" (a key without a value)
    Outside,        // a key line before the first section: ignored
  };
  Kind kind = Kind::Key;
  int line = 0;             // 1 for the first line of the text
  std::string section;      // as written, without blanks around it; for a key, of its section
  std::string key;          // as written, without blanks around it
  std::string value;        // as the reader keeps it: blanks and one pair of quotes dropped, cut
  bool has_equals = false;  // the key line holds "="
  bool quoted = false;      // one pair of enclosing quotes was dropped
  bool blanks_dropped = false;  // blanks around the value (outside the quotes) were dropped
  bool cut = false;             // the value was longer than kMaxValueLength characters
  // For a section: the first of its name (a repeated one is ignored, keys and all). For a key:
  // ReadString gives this value (the first of its name in the first section of its name).
  bool counts = false;
};

class IniFile : public Profile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;

  IniFile() = default;

  // Parses UTF-8 text. With `outline`, each line that is not blank or a
  // comment is also appended to it, as the parse took it.
  static IniFile Parse(std::string_view text, std::vector<IniLine>* outline = nullptr);

  // Decodes the bytes of a file (see DecodeText) and parses them.
  static IniFile Decode(std::string_view bytes, const AnsiDecoder& decode_ansi,
                        std::vector<IniLine>* outline = nullptr);

  // Reads and parses a file; a missing or unreadable file gives an empty one.
  static IniFile Load(platform::System& system, const std::string& path);

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const override;

  // A section or key name as the reader compares it (A to Z in lower case).
  static std::string FoldName(std::string_view name);

 private:
  using Section = std::unordered_map<std::string, std::string>;
  std::unordered_map<std::string, Section> sections_;
};

}  // namespace release
