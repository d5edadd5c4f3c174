// The cabinet format (Microsoft's .cab, and the .msu packages of Windows
// updates, which are cabinets): its list of files, and a file's bytes from
// a folder stored as it is or compressed with MSZIP. Bounded against
// hostile files: names, counts and sizes are checked, and no more than
// kCabinetReach bytes of a folder are ever unpacked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "release/byte_source.h"

namespace check {

constexpr std::uint64_t kCabinetReach = 256u << 20;

struct CabinetFile {
  std::string
      name;  // as stored: "\" between folders; UTF-8 where the cabinet says so, else Latin-1
  std::uint32_t size = 0;
  std::uint32_t offset = 0;  // in its folder's unpacked bytes
  std::uint16_t folder = 0;
};

class Cabinet {
 public:
  // Reads the header, folders and file list; throws UnreadablePackage.
  explicit Cabinet(release::ByteSource& source);

  const std::vector<CabinetFile>& Files() const { return files_; }
  // The bytes of a file; throws UnreadablePackage (a compression other than
  // none or MSZIP, damaged blocks, a file beyond kCabinetReach).
  std::string Extract(const CabinetFile& file);

 private:
  struct Folder {
    std::uint32_t first_block = 0;
    std::uint16_t blocks = 0;
    std::uint16_t compression = 0;
  };

  release::ByteSource& source_;
  std::vector<Folder> folders_;
  std::vector<CabinetFile> files_;
  std::uint8_t block_reserve_ = 0;
};

}  // namespace check
