// What the readers of package files (cabinet, compound document, PE) read
// from: a file's bytes by offset, so that they fetch only the parts they need.
// A reader that meets a damaged or hostile file throws UnreadablePackage with
// a named reason; nothing else escapes it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace release {

class UnreadablePackage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // `count` bytes from `offset`; throws UnreadablePackage when the file ends
  // before them ("cut short") or can't be read.
  std::string Read(std::uint64_t offset, std::size_t count);

 protected:
  // Fills `out` with the bytes; false, with the system's reason, when it can't.
  virtual bool ReadAt(std::uint64_t offset, std::size_t count, char* out, std::string& reason) = 0;
};

// The bytes of a file held in memory (tests, fuzz targets).
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }

 protected:
  bool ReadAt(std::uint64_t offset, std::size_t count, char* out, std::string& reason) override;

 private:
  std::string_view bytes_;
};

// Little-endian numbers in a block of bytes (a copy of its own, so that it
// may be made of a temporary), bounds checked: a read beyond its end throws
// UnreadablePackage naming `what`.
class LittleEndian {
 public:
  LittleEndian(std::string_view bytes, const char* what) : bytes_(bytes), what_(what) {}
  LittleEndian(std::string&& bytes, const char* what) : bytes_(std::move(bytes)), what_(what) {}
  std::uint8_t U8(std::size_t at) const { return static_cast<std::uint8_t>(Get(at, 1)); }
  std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(Get(at, 2)); }
  std::uint32_t U32(std::size_t at) const { return static_cast<std::uint32_t>(Get(at, 4)); }
  std::uint64_t U64(std::size_t at) const { return Get(at, 8); }
  std::string_view Bytes(std::size_t at, std::size_t count) const;
  std::size_t size() const { return bytes_.size(); }

 private:
  std::uint64_t Get(std::size_t at, std::size_t width) const;
  std::string bytes_;
  const char* what_;
};

}  // namespace release
