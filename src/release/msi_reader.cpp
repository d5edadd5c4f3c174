#include "release/msi_reader.h"

#include <vector>

#include "release/compound_file.h"
#include "release/text_encoding.h"

namespace release {

namespace {

// A million strings: far beyond a real database's, and a bound on the memory a hostile one takes.
constexpr std::size_t kPoolLimit = 4u << 20;

[[noreturn]] void Fail(const std::string& why) {
  throw UnreadablePackage(why);
}

int Mime(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  if (c >= 'a' && c <= 'z') return c - 'a' + 36;
  if (c == '.') return 62;
  if (c == '_') return 63;
  return -1;
}

// A string of the pool in UTF-8. Windows-1252 serves for the neutral code page 0 too; other
// code pages keep their ASCII letters, the others become "?" and the note says so.
std::string Decode(std::string_view bytes, unsigned code_page, std::string& note) {
  if (code_page == 65001) return SanitizeUtf8(bytes);
  if (code_page == 0 || code_page == 1252) return Windows1252ToUtf8(bytes);
  std::string out(bytes);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x80) continue;
    c = '?';
    note = "the database's code page " + std::to_string(code_page) +
           " is not one this reader decodes: letters beyond ASCII show as ?";
  }
  return out;
}

}  // namespace

std::u16string MsiStreamName(const std::string& table) {
  std::u16string name(1, u'\x4840');
  for (std::size_t i = 0; i < table.size(); ++i) {
    const int first = Mime(table[i]);
    if (first < 0) {
      name += static_cast<char16_t>(static_cast<unsigned char>(table[i]));
      continue;
    }
    const int second = i + 1 < table.size() ? Mime(table[i + 1]) : -1;
    if (second >= 0) {
      name += static_cast<char16_t>(0x3800 + first + (second << 6));
      ++i;
    } else {
      name += static_cast<char16_t>(0x4800 + first);
    }
  }
  return name;
}

MsiProperties ReadMsiProperties(ByteSource& source) {
  CompoundFile file(source);
  const std::optional<std::string> pool = file.Stream(MsiStreamName("_StringPool"));
  const std::optional<std::string> data = file.Stream(MsiStreamName("_StringData"));
  if (!pool || !data)
    Fail("the compound document is no Windows Installer database (no string pool)");
  if (pool->size() < 4) Fail("the database's string pool is cut short");
  if (pool->size() > kPoolLimit)
    Fail("the database's string pool is larger than this reader reads");
  const LittleEndian p(*pool, "the string pool");
  MsiProperties result;
  result.code_page = p.U16(0) | ((p.U16(2) & 0x7FFFu) << 16);
  const std::size_t ref_size = (p.U16(2) & 0x8000) ? 3 : 2;
  // The strings by id from 1, as the pool lists their lengths.
  std::vector<std::string_view> strings(1);
  const std::size_t count = pool->size() / 4;
  std::size_t offset = 0;
  for (std::size_t i = 1; i < count;) {
    std::size_t length = p.U16(i * 4);
    const std::uint16_t refs = p.U16(i * 4 + 2);
    if (length == 0 && refs == 0) {
      strings.emplace_back();
      ++i;
      continue;
    }
    if (length == 0) {  // a long string: the next entry holds its length
      if (i + 1 >= count) Fail("the string pool is cut short");
      length = (std::size_t(p.U16(i * 4 + 6)) << 16) + p.U16(i * 4 + 4);
      i += 2;
    } else {
      ++i;
    }
    if (length > data->size() - offset)
      Fail("the string pool names more text than the database holds");
    strings.push_back(std::string_view(*data).substr(offset, length));
    offset += length;
  }
  const std::optional<std::string> table = file.Stream(MsiStreamName("Property"));
  if (!table) Fail("the database has no Property table");
  const std::size_t rows = table->size() / (2 * ref_size);
  const LittleEndian t(*table, "the Property table");
  auto ref = [&](std::size_t at) -> std::string_view {
    const std::size_t id =
        ref_size == 2 ? t.U16(at) : (t.U16(at) | (std::size_t(t.U8(at + 2)) << 16));
    if (id >= strings.size())
      Fail("the Property table refers to string " + std::to_string(id) + ", which the pool lacks");
    return strings[id];
  };
  for (std::size_t row = 0; row < rows; ++row) {
    const std::string key = Decode(ref(row * ref_size), result.code_page, result.note);
    result.values[key] = Decode(ref((rows + row) * ref_size), result.code_page, result.note);
  }
  return result;
}

}  // namespace release
