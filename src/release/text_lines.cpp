#include "release/text_lines.h"

namespace release {

std::string TextLines::Next() {
  const std::size_t end = rest_.find_first_of("\r\n");
  std::string line(rest_.substr(0, end));
  if (end == std::string_view::npos) {
    rest_ = {};
  } else {
    const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
    rest_.remove_prefix(end + (crlf ? 2 : 1));
  }
  return line;
}

}  // namespace release
