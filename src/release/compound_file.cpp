#include "release/compound_file.h"

#include <algorithm>

namespace release {

namespace {

constexpr std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kNone = 0xFFFFFFFF;
constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::uint32_t kMiniCutoff = 4096;
constexpr unsigned kMiniShift = 6;

[[noreturn]] void Fail(const std::string& why) {
  throw UnreadablePackage(why);
}

}  // namespace

std::vector<std::uint32_t> CompoundFile::Chain(const std::vector<std::uint32_t>& table,
                                               std::uint32_t start, const char* what) const {
  std::vector<std::uint32_t> chain;
  for (std::uint32_t at = start; at != kEnd;) {
    if (at >= table.size()) Fail(std::string("the chain of ") + what + " leaves the sector table");
    if (chain.size() > table.size()) Fail(std::string("the chain of ") + what + " runs in a loop");
    chain.push_back(at);
    at = table[at];
  }
  return chain;
}

std::string CompoundFile::Sectors(std::uint32_t start, std::uint64_t size, const char* what) {
  if (size > kStreamLimit) Fail(std::string(what) + " is larger than this reader reads");
  const std::size_t sector = std::size_t(1) << shift_;
  std::string out;
  for (const std::uint32_t s : Chain(fat_, start, what)) {
    if (out.size() >= size) break;
    if (s >= sectors_) Fail(std::string("the chain of ") + what + " points beyond the file's end");
    out += source_.Read((std::uint64_t(s) + 1) << shift_,
                        static_cast<std::size_t>(std::min<std::uint64_t>(
                            sector, source_.Size() - ((std::uint64_t(s) + 1) << shift_))));
  }
  if (out.size() < size) Fail(std::string(what) + " is shorter than its directory entry says");
  out.resize(static_cast<std::size_t>(size));
  return out;
}

CompoundFile::CompoundFile(ByteSource& source) : source_(source) {
  if (source.Size() < 512) Fail("the file is too short for a compound document");
  const std::string header_bytes = source.Read(0, 512);
  if (header_bytes.compare(0, 8, kSignature, 8) != 0)
    Fail("the file is no compound document (no OLE signature)");
  const LittleEndian header(header_bytes, "the compound document's header");
  shift_ = header.U16(0x1E);
  if (shift_ != 9 && shift_ != 12)
    Fail("the compound document's sector size 2^" + std::to_string(shift_) + " is not 512 or 4096");
  if (header.U16(0x20) != kMiniShift) Fail("the compound document's mini sector size is not 64");
  sectors_ = (source.Size() >> shift_) - 1 + ((source.Size() & ((1u << shift_) - 1)) != 0 ? 1 : 0);
  const std::uint32_t fat_count = header.U32(0x2C);
  if (fat_count > sectors_) Fail("the compound document claims more table sectors than it holds");
  // The sectors of the sector table: 109 in the header, the rest in a chain of DIFAT sectors.
  std::vector<std::uint32_t> fat_sectors;
  for (std::size_t i = 0; i < 109 && fat_sectors.size() < fat_count; ++i)
    fat_sectors.push_back(header.U32(0x4C + 4 * i));
  const std::size_t per_sector = (std::size_t(1) << shift_) / 4;
  std::uint32_t difat = header.U32(0x44);
  for (std::uint64_t steps = 0; fat_sectors.size() < fat_count; ++steps) {
    if (difat >= sectors_ || steps > sectors_)
      Fail("the compound document's table of table sectors is damaged");
    const std::string bytes = source.Read((std::uint64_t(difat) + 1) << shift_, per_sector * 4);
    const LittleEndian list(bytes, "a DIFAT sector");
    for (std::size_t i = 0; i + 1 < per_sector && fat_sectors.size() < fat_count; ++i)
      fat_sectors.push_back(list.U32(4 * i));
    difat = list.U32(4 * (per_sector - 1));
  }
  for (const std::uint32_t s : fat_sectors) {
    if (s >= sectors_) Fail("a sector of the compound document's table lies beyond the file's end");
    const std::string bytes = source.Read((std::uint64_t(s) + 1) << shift_, per_sector * 4);
    const LittleEndian list(bytes, "a table sector");
    for (std::size_t i = 0; i < per_sector; ++i) fat_.push_back(list.U32(4 * i));
  }
  // The directory: 128 bytes an entry.
  const std::vector<std::uint32_t> directory_chain = Chain(fat_, header.U32(0x30), "the directory");
  const std::string directory =
      Sectors(header.U32(0x30), std::uint64_t(directory_chain.size()) << shift_, "the directory");
  const LittleEndian entries(directory, "the directory");
  for (std::size_t at = 0; at + 128 <= directory.size(); at += 128) {
    Entry e;
    const std::size_t name_bytes = std::min<std::size_t>(entries.U16(at + 64), 64);
    for (std::size_t i = 0; i + 3 < name_bytes; i += 2)
      e.name += static_cast<char16_t>(entries.U16(at + i));
    e.type = entries.U8(at + 66);
    e.left = entries.U32(at + 68);
    e.right = entries.U32(at + 72);
    e.child = entries.U32(at + 76);
    e.start = entries.U32(at + 116);
    e.size = shift_ == 9 ? entries.U32(at + 120) : entries.U64(at + 120);
    entries_.push_back(std::move(e));
  }
  if (entries_.empty() || entries_[0].type != 5) Fail("the compound document has no root entry");
  // The mini stream and its table, where small streams live.
  const std::uint32_t mini_fat_start = header.U32(0x3C);
  if (mini_fat_start != kEnd && mini_fat_start != kFree) {
    const std::string bytes =
        Sectors(mini_fat_start,
                std::uint64_t(Chain(fat_, mini_fat_start, "the mini table").size()) << shift_,
                "the mini table");
    const LittleEndian list(bytes, "the mini table");
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) mini_fat_.push_back(list.U32(i));
    mini_stream_ = Sectors(entries_[0].start, entries_[0].size, "the mini stream");
  }
  // The streams under the root: its child and their left and right siblings, each entry once.
  std::vector<bool> seen(entries_.size());
  std::vector<std::uint32_t> todo{entries_[0].child};
  while (!todo.empty()) {
    const std::uint32_t at = todo.back();
    todo.pop_back();
    if (at == kNone) continue;
    if (at >= entries_.size()) Fail("the compound document's directory points beyond its end");
    if (seen[at]) Fail("the compound document's directory tree runs in a loop");
    seen[at] = true;
    if (entries_[at].type == 2) root_streams_.emplace(entries_[at].name, at);
    todo.push_back(entries_[at].left);
    todo.push_back(entries_[at].right);
  }
}

std::vector<std::u16string> CompoundFile::StreamNames() const {
  std::vector<std::u16string> names;
  for (const auto& [name, index] : root_streams_) names.push_back(name);
  return names;
}

std::optional<std::string> CompoundFile::Stream(const std::u16string& name) {
  const auto found = root_streams_.find(name);
  if (found == root_streams_.end()) return std::nullopt;
  const Entry& e = entries_[found->second];
  if (e.size >= kMiniCutoff) return Sectors(e.start, e.size, "a stream");
  if (e.size == 0) return std::string();
  std::string out;
  for (const std::uint32_t s : Chain(mini_fat_, e.start, "a small stream")) {
    if (out.size() >= e.size) break;
    const std::uint64_t at = std::uint64_t(s) << kMiniShift;
    if (at + 64 > mini_stream_.size()) Fail("a small stream lies beyond the mini stream");
    out.append(mini_stream_, static_cast<std::size_t>(at), 64);
  }
  if (out.size() < e.size) Fail("a small stream is shorter than its directory entry says");
  out.resize(static_cast<std::size_t>(e.size));
  return out;
}

}  // namespace release
