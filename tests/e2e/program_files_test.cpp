// The program files of the Windows build, as Windows reads their headers
// before it runs them.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "harness/wine_paths.h"

namespace e2e {
namespace {

// The PE checksum of a file's bytes: its 16-bit words summed with end-around
// carry, the CheckSum field at `checksum_at` taken as 0, plus the file's size.
std::uint32_t FileChecksum(const fs::path& file, std::size_t checksum_at) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    if (i >= checksum_at && i < checksum_at + 4) continue;
    sum += static_cast<unsigned char>(bytes[i]);
    if (i + 1 < bytes.size()) sum += static_cast<unsigned char>(bytes[i + 1]) << 8;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return sum + static_cast<std::uint32_t>(bytes.size());
}

// Started from a network share or a removable drive, both programs run from a
// copy in the swap file (IMAGE_FILE_NET_RUN_FROM_SWAP 0x0800,
// IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP 0x0400): a share that goes away during
// the run doesn't end them with an in-page error. Setting the flags after the
// link keeps the linker's checksum true to the file.
TEST(ProgramFiles, RunFromTheSwapFileOffNetworkAndRemovableDrives) {
  for (const std::string name : {"Installer.exe", "release-check.exe"}) {
    const fs::path program = WindowsProgram(name);
    const std::optional<ProgramHeader> header = ReadProgramHeader(program);
    ASSERT_TRUE(header) << name << " is no PE program";
    EXPECT_EQ(header->characteristics & 0x0C00, 0x0C00)
        << name << ": 0x" << std::hex << header->characteristics;
    EXPECT_NE(header->characteristics & 0x0002, 0) << name << " is no longer marked executable";
    if (header->checksum != 0) {
      EXPECT_EQ(header->checksum, FileChecksum(program, header->checksum_at)) << name;
    }
  }
}

}  // namespace
}  // namespace e2e
