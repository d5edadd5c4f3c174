#include "release/byte_source.h"

#include <cstring>

namespace release {

std::string ByteSource::Read(std::uint64_t offset, std::size_t count) {
  if (offset > Size() || count > Size() - offset) {
    throw UnreadablePackage("the file is cut short: it ends at byte " + std::to_string(Size()) +
                            ", before byte " + std::to_string(offset + count));
  }
  std::string out(count, '\0');
  std::string reason;
  if (count > 0 && !ReadAt(offset, count, out.data(), reason)) {
    throw UnreadablePackage("the file can't be read: " + reason);
  }
  return out;
}

bool MemorySource::ReadAt(std::uint64_t offset, std::size_t count, char* out, std::string&) {
  std::memcpy(out, bytes_.data() + offset, count);
  return true;
}

std::string_view LittleEndian::Bytes(std::size_t at, std::size_t count) const {
  if (at > bytes_.size() || count > bytes_.size() - at) {
    throw UnreadablePackage(std::string(what_) + " is cut short");
  }
  return std::string_view(bytes_).substr(at, count);
}

std::uint64_t LittleEndian::Get(std::size_t at, std::size_t width) const {
  const std::string_view b = Bytes(at, width);
  std::uint64_t value = 0;
  for (std::size_t i = width; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(b[i]);
  return value;
}

}  // namespace release
