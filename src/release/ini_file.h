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

class IniFile : public Profile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;

  IniFile() = default;

  // Parses UTF-8 text.
  static IniFile Parse(std::string_view text);

  // Reads and parses a file; a missing or unreadable file gives an empty one.
  static IniFile Load(platform::System& system, const std::string& path);

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const override;

 private:
  using Section = std::unordered_map<std::string, std::string>;
  std::unordered_map<std::string, Section> sections_;
};

}  // namespace release
