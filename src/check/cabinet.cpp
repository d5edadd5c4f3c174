#include "check/cabinet.h"

#include <algorithm>

#include "check/inflate.h"
#include "release/text_encoding.h"

namespace check {

namespace {

constexpr std::size_t kHeader = 36;
constexpr std::uint16_t kPrevious = 1, kNext = 2, kReserve = 4;
constexpr std::size_t kMaxName = 256;
constexpr std::size_t kBlockMax = 32768;  // unpacked bytes of one MSZIP block

[[noreturn]] void Fail(const std::string& why) {
  throw release::UnreadablePackage(why);
}

// A string ending in a zero byte at `at`, at most kMaxName long; moves `at` past it.
std::string ZeroEnded(release::ByteSource& source, std::uint64_t& at, const char* what) {
  const std::uint64_t left = source.Size() > at ? source.Size() - at : 0;
  const std::string bytes =
      source.Read(at, static_cast<std::size_t>(std::min<std::uint64_t>(left, kMaxName + 1)));
  const std::size_t end = bytes.find('\0');
  if (end == std::string::npos) {
    Fail(bytes.size() <= kMaxName ? std::string("the file is cut short in the cabinet's ") + what
                                  : std::string("the cabinet's ") + what + " has no end");
  }
  at += end + 1;
  return bytes.substr(0, end);
}

std::string Latin1(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) release::AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace

Cabinet::Cabinet(release::ByteSource& source) : source_(source) {
  if (source.Size() < kHeader) Fail("the file is too short for a cabinet");
  const std::string header_bytes = source.Read(0, kHeader);
  const release::LittleEndian header(header_bytes, "the cabinet's header");
  if (header_bytes.compare(0, 4, "MSCF") != 0) Fail("the file is no cabinet (no MSCF signature)");
  if (header.U8(25) != 1)
    Fail("cabinet format version " + std::to_string(header.U8(25)) + " is unknown");
  const std::uint32_t files_at = header.U32(16);
  const std::uint16_t folder_count = header.U16(26), file_count = header.U16(28),
                      flags = header.U16(30);
  if (flags & (kPrevious | kNext)) Fail("the cabinet is part of a set spanning several files");
  if (folder_count == 0) Fail("the cabinet has no folders");
  std::uint64_t at = kHeader;
  std::uint8_t folder_reserve = 0;
  if (flags & kReserve) {
    const release::LittleEndian reserve(source.Read(at, 4), "the cabinet's reserve sizes");
    folder_reserve = reserve.U8(2);
    block_reserve_ = reserve.U8(3);
    at += 4 + reserve.U16(0);
  }
  const std::size_t folder_size = 8u + folder_reserve;
  const std::string folder_bytes = source.Read(at, folder_size * folder_count);
  const release::LittleEndian folders(folder_bytes, "the cabinet's folders");
  for (std::size_t i = 0; i < folder_count; ++i) {
    folders_.push_back({folders.U32(i * folder_size), folders.U16(i * folder_size + 4),
                        folders.U16(i * folder_size + 6)});
  }
  at = files_at;
  for (std::size_t i = 0; i < file_count; ++i) {
    const release::LittleEndian entry(source.Read(at, 16), "the cabinet's file list");
    at += 16;
    CabinetFile file;
    file.size = entry.U32(0);
    file.offset = entry.U32(4);
    file.folder = entry.U16(8);
    const bool utf8 = entry.U16(14) & 0x80;
    const std::string name = ZeroEnded(source, at, "file name");
    file.name = utf8 ? release::SanitizeUtf8(name) : Latin1(name);
    if (file.folder >= folder_count)
      Fail("file " + file.name + " lies in a folder the cabinet lacks");
    files_.push_back(std::move(file));
  }
}

std::string Cabinet::Extract(const CabinetFile& file) {
  const Folder& folder = folders_.at(file.folder);
  const std::uint64_t end = std::uint64_t(file.offset) + file.size;
  if (end > kCabinetReach) {
    Fail(file.name + " lies beyond the first " + std::to_string(kCabinetReach >> 20) +
         " MiB of its folder, further than this reader unpacks");
  }
  const std::uint16_t kind = folder.compression & 0x0F;
  if (kind == 2 || kind == 3)
    Fail(std::string("the cabinet is compressed with ") + (kind == 2 ? "Quantum" : "LZX") +
         ", which this reader does not unpack");
  if (kind > 3) Fail("the cabinet's compression " + std::to_string(kind) + " is unknown");
  // The unpacked bytes from `base` on; for MSZIP at least the 32 KiB before
  // the next block are kept as the history of its back references.
  std::string out;
  std::uint64_t base = 0;
  std::uint64_t at = folder.first_block;
  for (std::uint32_t block = 0; block < folder.blocks && base + out.size() < end; ++block) {
    const release::LittleEndian head(source_.Read(at, 8), "a block of the cabinet");
    const std::uint16_t packed = head.U16(4), unpacked = head.U16(6);
    at += 8 + block_reserve_;
    const std::uint64_t block_start = base + out.size();
    if (kind == 0) {
      if (packed != unpacked) Fail("a stored block's sizes differ");
      if (block_start + unpacked <= file.offset) {  // wholly before the file: not read
        base += unpacked;
        at += packed;
        continue;
      }
      out += source_.Read(at, packed);
    } else {
      if (unpacked > kBlockMax) Fail("an MSZIP block unpacks to more than 32 KiB");
      const std::string data = source_.Read(at, packed);
      if (data.compare(0, 2, "CK") != 0) Fail("an MSZIP block lacks its CK signature");
      const std::size_t before = out.size();
      Inflate(std::string_view(data).substr(2), out, before + kBlockMax);
      if (out.size() - before != unpacked)
        Fail("an MSZIP block unpacks to another size than it says");
    }
    at += packed;
    // Keep what the file needs and the history; drop the rest.
    const std::uint64_t keep_from = std::min<std::uint64_t>(
        file.offset, base + out.size() - std::min<std::uint64_t>(out.size(), kBlockMax));
    if (keep_from > base) {
      out.erase(0, static_cast<std::size_t>(keep_from - base));
      base = keep_from;
    }
  }
  if (base + out.size() < end) Fail("the folder of " + file.name + " ends before the file does");
  return out.substr(static_cast<std::size_t>(file.offset - base), file.size);
}

}  // namespace check
