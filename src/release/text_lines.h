// Reading a text file line by line: lines end with CR LF, LF or CR; a last
// line without an ending counts, an ending at the very end adds no empty line.
#pragma once

#include <string>
#include <string_view>

namespace release {

class TextLines {
 public:
  explicit TextLines(std::string_view text) : rest_(text) {}

  bool AtEnd() const { return rest_.empty(); }
  // The next line, or the empty text at the end.
  std::string Next();

 private:
  std::string_view rest_;
};

}  // namespace release
