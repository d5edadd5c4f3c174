// The OLE compound document (Microsoft's "compound file binary format"), the
// container of .msi databases: the streams at the top of its tree, by name.
// Bounded against hostile files: sector chains are followed at most as many
// steps as the file has sectors (a loop is named as one), directory trees
// are walked once per entry, and no stream over kStreamLimit is read.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "release/byte_source.h"

namespace release {

constexpr std::uint64_t kStreamLimit = 64u << 20;

class CompoundFile {
 public:
  // Reads the header, the sector table and the directory; throws UnreadablePackage.
  explicit CompoundFile(ByteSource& source);

  // The names of the streams directly under the root (UTF-16 code units).
  std::vector<std::u16string> StreamNames() const;
  // A stream under the root by name; nothing when there is none. Throws
  // UnreadablePackage when its sectors can't be read.
  std::optional<std::string> Stream(const std::u16string& name);

 private:
  struct Entry {
    std::u16string name;
    std::uint8_t type = 0;
    std::uint32_t left = 0, right = 0, child = 0, start = 0;
    std::uint64_t size = 0;
  };

  std::vector<std::uint32_t> Chain(const std::vector<std::uint32_t>& table, std::uint32_t start,
                                   const char* what) const;
  std::string Sectors(std::uint32_t start, std::uint64_t size, const char* what);

  ByteSource& source_;
  unsigned shift_ = 9;
  std::uint64_t sectors_ = 0;  // how many sectors the file holds
  std::vector<std::uint32_t> fat_, mini_fat_;
  std::vector<Entry> entries_;
  std::string mini_stream_;
  std::map<std::u16string, std::size_t> root_streams_;
};

}  // namespace release
