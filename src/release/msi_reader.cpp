#include "release/msi_reader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "release/compound_file.h"
#include "release/text_encoding.h"

namespace release {

namespace {

// A million strings: far beyond a real database's, and a bound on the memory a hostile one takes.
constexpr std::size_t kPoolLimit = 4u << 20;

// A column's type as _Columns stores it: the flag of a string column; an
// integer column's size in bytes in the low byte.
constexpr std::uint16_t kStringColumn = 0x0800;

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

// The database's strings by id from 1 (0 is the null string), as _StringPool
// lists their lengths and _StringData holds their bytes one after another.
class StringPool {
 public:
  explicit StringPool(CompoundFile& file);
  unsigned code_page() const { return code_page_; }
  std::size_t ref_size() const { return ref_size_; }  // bytes of a reference in a table: 2 or 3
  std::string_view At(std::size_t id, const std::string& table) const {
    if (id >= strings_.size())
      Fail("the " + table + " table refers to string " + std::to_string(id) +
           ", which the pool lacks");
    return strings_[id];
  }

 private:
  std::string data_;
  std::vector<std::string_view> strings_;
  unsigned code_page_ = 0;
  std::size_t ref_size_ = 2;
};

StringPool::StringPool(CompoundFile& file) : strings_(1) {
  const std::optional<std::string> pool = file.Stream(MsiStreamName("_StringPool"));
  std::optional<std::string> data = file.Stream(MsiStreamName("_StringData"));
  if (!pool || !data)
    Fail("the compound document is no Windows Installer database (no string pool)");
  if (pool->size() < 4) Fail("the database's string pool is cut short");
  if (pool->size() > kPoolLimit)
    Fail("the database's string pool is larger than this reader reads");
  data_ = std::move(*data);
  const LittleEndian p(*pool, "the string pool");
  code_page_ = p.U16(0) | ((p.U16(2) & 0x7FFFu) << 16);
  ref_size_ = (p.U16(2) & 0x8000) ? 3 : 2;
  const std::size_t count = pool->size() / 4;
  std::size_t offset = 0;
  for (std::size_t i = 1; i < count;) {
    std::size_t length = p.U16(i * 4);
    const std::uint16_t refs = p.U16(i * 4 + 2);
    if (length == 0 && refs == 0) {
      strings_.emplace_back();
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
    if (length > data_.size() - offset)
      Fail("the string pool names more text than the database holds");
    strings_.push_back(std::string_view(data_).substr(offset, length));
    offset += length;
  }
}

struct Column {
  std::string name;
  std::uint16_t type = 0;
};

// The layout of _Columns, which describes every table but itself.
const Column kColumnsLayout[] = {
    {"Table", kStringColumn}, {"Number", 2}, {"Name", kStringColumn}, {"Type", 2}};

// A table's rows as stored: column after column, each value a string's id (as
// wide as the pool says) or an integer of 2 or 4 bytes with its high bit
// flipped; 0 is null in either.
class Table {
 public:
  Table(std::string name, std::vector<Column> columns, std::string bytes, const StringPool& pool);
  std::size_t Rows() const { return rows_; }
  // The index of a column; throws when the table has none of the name and kind.
  std::size_t Find(std::string_view column, bool text) const;
  // A string column's value; empty when null.
  std::string_view Text(std::size_t row, std::size_t column) const {
    return pool_.At(Raw(row, column), name_);
  }
  // An integer column's value; nothing when null.
  std::optional<std::int64_t> Number(std::size_t row, std::size_t column) const {
    const std::uint32_t raw = Raw(row, column);
    if (raw == 0) return std::nullopt;
    return std::int64_t(raw) - (widths_[column] == 2 ? 0x8000 : 0x80000000);
  }

 private:
  std::uint32_t Raw(std::size_t row, std::size_t column) const;

  const StringPool& pool_;
  std::string name_;
  std::vector<Column> columns_;
  std::vector<std::size_t> starts_, widths_;  // where each column's values begin, and their size
  LittleEndian bytes_;
  std::size_t rows_ = 0;
};

Table::Table(std::string name, std::vector<Column> columns, std::string bytes,
             const StringPool& pool)
    : pool_(pool),
      name_(std::move(name)),
      columns_(std::move(columns)),
      bytes_(std::move(bytes), "a table of the database") {
  std::size_t row_size = 0;
  for (const Column& column : columns_) {
    const std::size_t size = column.type & 0xFF;
    widths_.push_back((column.type & kStringColumn) ? pool_.ref_size() : size <= 2 ? 2 : 4);
    row_size += widths_.back();
  }
  if (bytes_.size() % row_size != 0) Fail("the " + name_ + " table is cut short");
  rows_ = bytes_.size() / row_size;
  std::size_t start = 0;
  for (const std::size_t width : widths_) {
    starts_.push_back(start);
    start += rows_ * width;
  }
}

std::size_t Table::Find(std::string_view column, bool text) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].name != column) continue;
    if (((columns_[i].type & kStringColumn) != 0) != text) break;
    return i;
  }
  Fail("the " + name_ + " table has no " + (text ? "text" : "integer") + " column " +
       std::string(column));
}

std::uint32_t Table::Raw(std::size_t row, std::size_t column) const {
  const std::size_t at = starts_[column] + row * widths_[column];
  switch (widths_[column]) {
    case 2:
      return bytes_.U16(at);
    case 3:
      return bytes_.U16(at) | (std::uint32_t(bytes_.U8(at + 2)) << 16);
    default:
      return bytes_.U32(at);
  }
}

// The tables of a database as _Columns lays them out.
class Database {
 public:
  explicit Database(ByteSource& source);
  const StringPool& pool() const { return pool_; }
  // A table by name; nothing when _Columns describes none of that name. A
  // table without rows may have no stream.
  std::optional<Table> Read(const std::string& name);

 private:
  CompoundFile file_;
  StringPool pool_;
  Table columns_;
};

std::string ColumnsStream(CompoundFile& file) {
  std::optional<std::string> bytes = file.Stream(MsiStreamName("_Columns"));
  if (!bytes) Fail("the database has no _Columns table");
  return std::move(*bytes);
}

Database::Database(ByteSource& source)
    : file_(source),
      pool_(file_),
      columns_("_Columns", {std::begin(kColumnsLayout), std::end(kColumnsLayout)},
               ColumnsStream(file_), pool_) {}

std::optional<Table> Database::Read(const std::string& name) {
  const std::size_t table = columns_.Find("Table", true), number = columns_.Find("Number", false),
                    column = columns_.Find("Name", true), type = columns_.Find("Type", false);
  std::vector<std::pair<std::int64_t, Column>> described;
  for (std::size_t row = 0; row < columns_.Rows(); ++row) {
    if (columns_.Text(row, table) != name) continue;
    described.push_back(
        {columns_.Number(row, number).value_or(0),
         Column{std::string(columns_.Text(row, column)),
                static_cast<std::uint16_t>(columns_.Number(row, type).value_or(0))}});
  }
  if (described.empty()) return std::nullopt;
  std::sort(described.begin(), described.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Column> layout;
  for (auto& [position, described_column] : described) {
    if (position != std::int64_t(layout.size()) + 1)
      Fail("the database's _Columns does not number the columns of " + name + " from 1 on");
    layout.push_back(std::move(described_column));
  }
  return Table(name, std::move(layout), file_.Stream(MsiStreamName(name)).value_or(""), pool_);
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
  Database database(source);
  const std::optional<Table> table = database.Read("Property");
  if (!table) Fail("the database has no Property table");
  const std::size_t key = table->Find("Property", true), value = table->Find("Value", true);
  MsiProperties result;
  result.code_page = database.pool().code_page();
  for (std::size_t row = 0; row < table->Rows(); ++row) {
    const std::string name = Decode(table->Text(row, key), result.code_page, result.note);
    result.values[name] = Decode(table->Text(row, value), result.code_page, result.note);
  }
  return result;
}

std::vector<std::string> ReadMsiExternalCabinets(ByteSource& source) {
  Database database(source);
  const std::optional<Table> media = database.Read("Media");
  if (!media) return {};
  const std::size_t disk = media->Find("DiskId", false), cabinet = media->Find("Cabinet", true);
  std::vector<std::pair<std::int64_t, std::string_view>> outside;
  for (std::size_t row = 0; row < media->Rows(); ++row) {
    const std::string_view name = media->Text(row, cabinet);
    if (!name.empty() && name[0] != '#')
      outside.emplace_back(media->Number(row, disk).value_or(0), name);
  }
  std::stable_sort(outside.begin(), outside.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> names;
  std::string note;  // letters the code page leaves undecoded show as ?, as in the properties
  for (const auto& entry : outside)
    names.push_back(Decode(entry.second, database.pool().code_page(), note));
  return names;
}

}  // namespace release
