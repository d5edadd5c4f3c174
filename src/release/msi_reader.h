// The Windows Installer database of an .msi: the values of its Property
// table, decoded from the database's code page into UTF-8.
#pragma once

#include <map>
#include <string>

#include "release/byte_source.h"

namespace release {

struct MsiProperties {
  unsigned code_page = 0;                     // of the string pool; 0: neutral
  std::map<std::string, std::string> values;  // by property name
  std::string note;                           // what could not be decoded, when anything could not
};

// Throws UnreadablePackage: no compound document, no string pool or Property
// table, references out of range.
MsiProperties ReadMsiProperties(ByteSource& source);

// The name of a table's stream as Windows Installer stores it (compressed
// into the code points from U+3800, with U+4840 before a table's name).
std::u16string MsiStreamName(const std::string& table);

}  // namespace release
