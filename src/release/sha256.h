// SHA-256 of a package file, fed block by block. Where the processor has
// the SHA extensions they do the rounds; the choice is made at run time, so
// the program still runs on every processor from the days of Windows XP on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace release {

class Sha256 {
 public:
  enum class Engine { Portable, ShaExtensions };

  // Whether this processor runs an engine; the portable one runs everywhere.
  static bool Available(Engine engine);
  // The SHA extensions where the processor has them, else the portable engine.
  static Engine Fastest();

  // Throws std::logic_error for an engine this processor lacks.
  explicit Sha256(Engine engine = Fastest());

  void Update(std::string_view bytes);
  // The digest as 64 lower-case hexadecimal digits; nothing may be added afterwards.
  std::string HexDigest();

 private:
  using Compressor = void (*)(std::uint32_t state[8], const unsigned char* blocks,
                              std::size_t count);

  Compressor compress_;
  std::uint32_t state_[8];
  unsigned char buffer_[64];
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;  // bytes fed so far
};

// The digest of bytes in one piece.
std::string Sha256Hex(std::string_view bytes, Sha256::Engine engine = Sha256::Fastest());

// 64 hexadecimal digits, in either letter case: what Sha256= must hold.
bool IsSha256Text(std::string_view text);

// Two checksums of 64 hexadecimal digits name the same digest, whatever the
// letter case of their digits.
bool SameSha256(std::string_view a, std::string_view b);

}  // namespace release
