// The Windows Installer database of an .msi: the values of its Property
// table and the cabinets its Media table names outside the package, decoded
// from the database's code page into UTF-8. Each table is read in the column
// layout the database's _Columns table gives it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "release/byte_source.h"

namespace release {

struct MsiProperties {
  unsigned code_page = 0;                     // of the string pool; 0: neutral
  std::map<std::string, std::string> values;  // by property name
  std::string note;                           // what could not be decoded, when anything could not
};

// Throws UnreadablePackage: no compound document, no string pool, _Columns or
// Property table, a table that is cut short, references out of range.
MsiProperties ReadMsiProperties(ByteSource& source);

// The cabinets that lie beside the package, by their names in the Media
// table's Cabinet column (the embedded ones start with "#"), in the order of
// the disks; none when the database has no Media table. Throws
// UnreadablePackage as ReadMsiProperties does.
std::vector<std::string> ReadMsiExternalCabinets(ByteSource& source);

// The name of a table's stream as Windows Installer stores it (compressed
// into the code points from U+3800, with U+4840 before a table's name).
std::u16string MsiStreamName(const std::string& table);

}  // namespace release
