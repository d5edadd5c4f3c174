#include "check/pe_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "engine/package_command.h"
#include "release/text_encoding.h"

namespace check {

namespace {

constexpr std::size_t kOverlayLook = 1u << 20;  // bytes after the image searched for marks
constexpr std::uint32_t kMaxSections = 96;
constexpr std::uint32_t kMaxEntries = 4096;  // of one resource directory
constexpr std::uint32_t kMaxVersionSize = 64u << 10;

[[noreturn]] void Fail(const std::string& why) {
  throw release::UnreadablePackage(why);
}

struct Section {
  std::string name;
  std::uint32_t rva = 0, virtual_size = 0, raw_at = 0, raw_size = 0;
};

class Image {
 public:
  explicit Image(release::ByteSource& source) : source_(source) {}

  void ReadHeaders(ProgramFacts& facts) {
    if (source_.Size() < 64) Fail("the file is too short for a program");
    const std::string dos = source_.Read(0, 64);
    if (dos.compare(0, 2, "MZ") != 0) Fail("the file is no Windows program (no MZ signature)");
    const std::uint32_t pe_at = release::LittleEndian(dos, "the DOS header").U32(60);
    const std::string head = source_.Read(pe_at, 24);
    if (head.compare(0, 4, std::string("PE\0\0", 4)) != 0)
      Fail("the file is no Windows program (no PE signature)");
    const release::LittleEndian coff(head, "the PE header");
    const std::uint16_t sections = coff.U16(6), optional_size = coff.U16(20);
    if (sections > kMaxSections)
      Fail("the program claims " + std::to_string(sections) + " sections");
    const std::string optional = source_.Read(pe_at + 24, optional_size);
    const release::LittleEndian opt(optional, "the optional header");
    const std::uint16_t magic = opt.U16(0);
    if (magic != 0x10B && magic != 0x20B)
      Fail("the program's optional header is of an unknown kind");
    facts.x64 = magic == 0x20B;
    const std::size_t directories = facts.x64 ? 112 : 96;
    if (opt.U32(directories - 4) > 2) resource_rva_ = opt.U32(directories + 16);
    const std::string table = source_.Read(pe_at + 24 + optional_size, 40u * sections);
    const release::LittleEndian t(table, "the section table");
    for (std::size_t i = 0; i < sections; ++i) {
      Section s;
      s.name = std::string(t.Bytes(i * 40, 8).data(), strnlen(t.Bytes(i * 40, 8).data(), 8));
      s.virtual_size = t.U32(i * 40 + 8);
      s.rva = t.U32(i * 40 + 12);
      s.raw_size = t.U32(i * 40 + 16);
      s.raw_at = t.U32(i * 40 + 20);
      image_end_ = std::max<std::uint64_t>(image_end_, std::uint64_t(s.raw_at) + s.raw_size);
      sections_.push_back(s);
    }
  }

  // Bytes at an address of the loaded image, from the section that holds them.
  std::string AtRva(std::uint32_t rva, std::uint32_t size) {
    for (const Section& s : sections_) {
      if (rva >= s.rva && rva - s.rva < std::max(s.virtual_size, s.raw_size)) {
        const std::uint64_t offset = rva - s.rva;
        if (offset + size > s.raw_size)
          Fail("resource data lies beyond its section's bytes in the file");
        return source_.Read(s.raw_at + offset, size);
      }
    }
    Fail("resource data at an address no section holds");
  }

  bool HasSection(const char* name) const {
    return std::any_of(sections_.begin(), sections_.end(),
                       [&](const Section& s) { return s.name == name; });
  }

  // The entries of a resource directory: id (or name, upper case) and offset with its subdirectory
  // bit.
  struct ResourceEntry {
    std::uint32_t id = 0;
    std::string name;
    std::uint32_t offset = 0;
  };
  std::vector<ResourceEntry> Directory(std::uint32_t offset) {
    const release::LittleEndian head(AtRva(resource_rva_ + offset, 16), "a resource directory");
    const std::uint32_t count = std::uint32_t(head.U16(12)) + head.U16(14);
    if (count > kMaxEntries)
      Fail("a resource directory claims " + std::to_string(count) + " entries");
    const std::string bytes = AtRva(resource_rva_ + offset + 16, 8 * count);
    const release::LittleEndian list(bytes, "a resource directory");
    std::vector<ResourceEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
      ResourceEntry e;
      const std::uint32_t name = list.U32(8 * i);
      e.offset = list.U32(8 * i + 4);
      if (name & 0x80000000u) {
        const std::uint32_t at = name & 0x7FFFFFFF;
        const std::uint16_t length =
            release::LittleEndian(AtRva(resource_rva_ + at, 2), "a resource name").U16(0);
        const release::LittleEndian text(
            AtRva(resource_rva_ + at + 2, std::min<std::uint32_t>(length, 64) * 2u),
            "a resource name");
        for (std::size_t c = 0; c < text.size() / 2; ++c) {
          const std::uint16_t u = text.U16(2 * c);
          e.name += static_cast<char>(u >= 'a' && u <= 'z' ? u - 32 : (u < 0x80 ? u : '?'));
        }
      } else {
        e.id = name;
      }
      entries.push_back(std::move(e));
    }
    return entries;
  }

  // The first data of a resource type (type, then name, then language).
  std::optional<std::string> FirstResource(std::uint32_t type) {
    if (!resource_rva_) return std::nullopt;
    std::uint32_t offset = 0;
    for (int level = 0; level < 2; ++level) {  // type, then name; then the languages
      bool found = false;
      for (const ResourceEntry& e : Directory(offset)) {
        if (level == 0 && (!e.name.empty() || e.id != type)) continue;
        if (!(e.offset & 0x80000000u)) Fail("the resource tree is shallower than three levels");
        offset = e.offset & 0x7FFFFFFF;
        found = true;
        break;
      }
      if (!found) return std::nullopt;
    }
    for (const ResourceEntry& e : Directory(offset)) {
      if (e.offset & 0x80000000u) Fail("the resource tree is deeper than three levels");
      const release::LittleEndian data(AtRva(resource_rva_ + e.offset, 16),
                                       "a resource's data entry");
      if (data.U32(4) > kMaxVersionSize) Fail("the version resource is larger than 64 KiB");
      return AtRva(data.U32(0), data.U32(4));
    }
    return std::nullopt;
  }

  // Whether a resource of the type has the id or name. The first entry of the type counts,
  // as Windows finds it: a hostile tree of many such entries is not walked.
  bool HasResource(std::uint32_t type, std::uint32_t id, const char* name) {
    if (!resource_rva_) return false;
    for (const ResourceEntry& e : Directory(0)) {
      if (!e.name.empty() || e.id != type) continue;
      if (!(e.offset & 0x80000000u)) return false;
      for (const ResourceEntry& n : Directory(e.offset & 0x7FFFFFFF)) {
        if ((n.name.empty() && n.id == id) || (!n.name.empty() && n.name == name)) return true;
      }
      return false;
    }
    return false;
  }

  std::string OverlayHead() {
    if (image_end_ >= source_.Size()) return {};
    return source_.Read(image_end_, static_cast<std::size_t>(std::min<std::uint64_t>(
                                        kOverlayLook, source_.Size() - image_end_)));
  }

 private:
  release::ByteSource& source_;
  std::vector<Section> sections_;
  std::uint32_t resource_rva_ = 0;
  std::uint64_t image_end_ = 0;
};

std::size_t Align4(std::size_t at) {
  return (at + 3) & ~std::size_t(3);
}

// One block of a version resource: its key, value and where its children lie.
struct Block {
  std::string key;
  std::size_t value_at = 0, value_size = 0, children_at = 0, end = 0;
  bool text = false;
};

Block ReadBlock(const release::LittleEndian& data, std::size_t at, std::size_t limit) {
  Block b;
  const std::size_t length = data.U16(at);
  if (length < 6 || length > limit - at) Fail("a block of the version resource has a bad length");
  b.end = at + length;
  const std::size_t value_length = data.U16(at + 2);
  b.text = data.U16(at + 4) == 1;
  std::size_t p = at + 6;
  std::u16string key;
  for (; p + 1 < b.end; p += 2) {
    const std::uint16_t u = data.U16(p);
    if (u == 0) break;
    key += static_cast<char16_t>(u);
  }
  b.key = release::Utf16LeToUtf8(
      std::string_view(reinterpret_cast<const char*>(key.data()), key.size() * 2));
  b.value_at = Align4(p + 2);
  b.value_size = std::min(b.text ? value_length * 2 : value_length,
                          b.end > b.value_at ? b.end - b.value_at : 0);
  b.children_at = Align4(b.value_at + b.value_size);
  return b;
}

void ReadVersion(const std::string& bytes, ProgramFacts& facts) {
  const release::LittleEndian data(bytes, "the version resource");
  const Block root = ReadBlock(data, 0, bytes.size());
  if (root.key != "VS_VERSION_INFO")
    Fail("the version resource does not start with VS_VERSION_INFO");
  if (root.value_size >= 52 && data.U32(root.value_at) == 0xFEEF04BD) {
    const std::uint32_t ms = data.U32(root.value_at + 8), ls = data.U32(root.value_at + 12);
    facts.version = std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." +
                    std::to_string(ls >> 16) + "." + std::to_string(ls & 0xFFFF);
  }
  for (std::size_t at = root.children_at; at + 6 <= root.end;) {
    const Block info = ReadBlock(data, at, root.end);
    at = Align4(info.end);
    if (info.key != "StringFileInfo") continue;
    for (std::size_t t = info.children_at; t + 6 <= info.end;) {
      const Block table = ReadBlock(data, t, info.end);
      t = Align4(table.end);
      for (std::size_t s = table.children_at; s + 6 <= table.end;) {
        const Block string = ReadBlock(data, s, table.end);
        s = Align4(string.end);
        std::string_view value = data.Bytes(
            string.value_at,
            std::min(string.value_size, string.end - std::min(string.end, string.value_at)) &
                ~std::size_t(1));
        std::string text = release::Utf16LeToUtf8(value);
        text = text.substr(0, text.find('\0'));
        while (!text.empty() && text.back() == ' ') text.pop_back();
        facts.strings.emplace(string.key, text);
      }
    }
  }
}

bool Contains(const std::string& haystack, std::string_view needle) {
  return haystack.find(needle) != std::string::npos;
}

void TellKind(Image& image, ProgramFacts& facts) {
  const std::string overlay = image.OverlayHead();
  std::string strings;
  for (const auto& [key, value] : facts.strings) strings += value + "\n";
  const std::string original = engine::Upper(
      facts.strings.count("OriginalFilename") ? facts.strings.at("OriginalFilename") : "");
  const std::string internal =
      engine::Upper(facts.strings.count("InternalName") ? facts.strings.at("InternalName") : "");
  auto set = [&](InstallerKind kind, std::string mark) {
    facts.kind = kind;
    facts.mark = std::move(mark);
  };
  if (image.HasSection(".wixburn")) {
    set(InstallerKind::WixBurn, "a .wixburn section");
  } else if (Contains(overlay, std::string("\xEF\xBE\xAD\xDE"
                                           "NullsoftInst",
                                           16))) {
    set(InstallerKind::Nsis, "NSIS's header after the program");
  } else if (image.HasResource(10, 11111, "")) {
    set(InstallerKind::InnoSetup, "Inno Setup's offset table (RCDATA 11111)");
  } else if (Contains(overlay, "Inno Setup Setup Data") || Contains(strings, "Inno Setup")) {
    set(InstallerKind::InnoSetup, "\"Inno Setup\" in its data");
  } else if (Contains(strings, "InstallShield") || Contains(overlay, "InstallShield")) {
    set(InstallerKind::InstallShield, "\"InstallShield\" in its version strings or data");
  } else if (overlay.compare(0, 6, "7z\xBC\xAF\x27\x1C") == 0 ||
             Contains(overlay, ";!@Install@!UTF-8!")) {
    set(InstallerKind::SevenZipSfx, "a 7z archive after the program");
  } else if (original.rfind("WEXTRACT", 0) == 0 ||
             image.HasResource(10, 0xFFFFFFFF, "RUNPROGRAM")) {
    set(InstallerKind::IExpress, "Windows' self-extractor (WEXTRACT)");
  } else if (original.rfind("SFXCAB", 0) == 0 || internal.rfind("SFXCAB", 0) == 0 ||
             original == "UPDATE.EXE") {
    set(InstallerKind::WindowsUpdate, "Windows' self-extracting update package (" +
                                          (original.empty() ? internal : original) + ")");
  }
}

}  // namespace

const char* KindName(InstallerKind kind) {
  switch (kind) {
    case InstallerKind::WixBurn:
      return "WiX Burn bundle";
    case InstallerKind::Nsis:
      return "NSIS installer";
    case InstallerKind::InnoSetup:
      return "Inno Setup installer";
    case InstallerKind::InstallShield:
      return "InstallShield setup";
    case InstallerKind::SevenZipSfx:
      return "7-Zip self-extractor";
    case InstallerKind::IExpress:
      return "IExpress package";
    case InstallerKind::WindowsUpdate:
      return "Windows update package";
    case InstallerKind::Unknown:
      break;
  }
  return "program of unknown kind";
}

const char* SilentSwitches(InstallerKind kind) {
  switch (kind) {
    case InstallerKind::WixBurn:
      return "/quiet /norestart";
    case InstallerKind::Nsis:
      return "/S";
    case InstallerKind::InnoSetup:
      return "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /SP-";
    case InstallerKind::InstallShield:
      return "/s /v\"/qn /norestart\"";
    case InstallerKind::SevenZipSfx:
      return "-y";
    case InstallerKind::IExpress:
      return "/Q /R:N";
    case InstallerKind::WindowsUpdate:
      return "/quiet /norestart";
    case InstallerKind::Unknown:
      break;
  }
  return "";
}

ProgramFacts ReadProgram(release::ByteSource& source) {
  ProgramFacts facts;
  Image image(source);
  image.ReadHeaders(facts);
  try {
    if (const std::optional<std::string> version = image.FirstResource(16)) {
      ReadVersion(*version, facts);
    } else {
      facts.note = "the program has no version resource";
    }
  } catch (const release::UnreadablePackage& e) {
    facts.note = std::string("its version resource can't be read: ") + e.what();
  }
  try {
    TellKind(image, facts);
  } catch (const release::UnreadablePackage& e) {
    if (facts.note.empty()) facts.note = std::string("its resources can't be read: ") + e.what();
  }
  return facts;
}

}  // namespace check
