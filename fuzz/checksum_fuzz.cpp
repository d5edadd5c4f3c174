// Sha256= written into any Settings.ini as release-check writes it: the installer then reads the
// new checksum in each package section it reads, at the line the change names, and every other
// value as before; writing the same checksums again changes nothing.
#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "check/checksum_update.h"
#include "fuzz_input.h"
#include "release/ini_file.h"
#include "release/sha256.h"

namespace {

struct Read {
  release::IniFile ini;
  std::vector<release::IniLine> outline;
};

Read Decoded(std::string_view bytes) {
  test::FakeSystem system;
  Read read;
  read.ini = release::IniFile::Decode(
      bytes, [&system](std::string_view ansi) { return system.DecodeAnsi(ansi); }, &read.outline);
  return read;
}

bool IsSha256Key(const release::IniLine& line) {
  return release::IniFile::FoldName(line.key) == "sha256";
}

// Every value the old file gave, except the checksums set, is the new file's too.
void CheckOtherValues(const Read& before, const Read& after,
                      const std::vector<check::ChecksumChange>& changes) {
  std::map<std::string, bool> set;  // folded section names of the packages set
  for (const check::ChecksumChange& change : changes)
    set[release::IniFile::FoldName("File" + std::to_string(change.package))] = true;
  for (const release::IniLine& line : before.outline) {
    if (line.kind != release::IniLine::Kind::Key || !line.counts) continue;
    if (IsSha256Key(line) && set.count(release::IniFile::FoldName(line.section))) continue;
    fuzz::Require(after.ini.ReadString(line.section, line.key, "\n") == line.value,
                  "every other value stays");
  }
}

void CheckChanges(const Read& after, const std::map<int, std::string>& sha256,
                  const std::vector<check::ChecksumChange>& changes) {
  for (const check::ChecksumChange& change : changes) {
    const std::string section = "File" + std::to_string(change.package);
    fuzz::Require(
        release::SameSha256(after.ini.ReadString(section, "Sha256", ""), sha256.at(change.package)),
        "the installer reads the new checksum");
    bool at_its_line = false;
    for (const release::IniLine& line : after.outline) {
      at_its_line = at_its_line || (line.line == change.line && line.counts &&
                                    line.kind == release::IniLine::Kind::Key && IsSha256Key(line));
    }
    fuzz::Require(at_its_line, "a change names the line of its key");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::map<int, std::string> sha256;
  for (int n = 1; n <= 5; ++n) sha256[n] = release::Sha256Hex(std::to_string(n));
  const Read before = Decoded(bytes);
  std::vector<check::ChecksumChange> changes;
  std::string written;
  try {
    written = check::SetChecksums(bytes, before.outline, sha256, changes);
  } catch (const std::invalid_argument&) {
    fuzz::Require(bytes.substr(0, 2) == "\xFF\xFE" && size % 2 != 0,
                  "only UTF-16 of an odd byte count is refused");
    return 0;
  }
  const Read after = Decoded(written);
  CheckChanges(after, sha256, changes);
  CheckOtherValues(before, after, changes);

  std::vector<check::ChecksumChange> again;
  fuzz::Require(check::SetChecksums(written, after.outline, sha256, again) == written,
                "writing the same checksums again changes nothing");
  for (const check::ChecksumChange& change : again) {
    fuzz::Require(change.kind == check::ChecksumChange::Kind::Unchanged,
                  "the second writing finds them all in place");
  }
  fuzz::Require(again.size() == changes.size(), "the same packages have sections");
  return 0;
}
