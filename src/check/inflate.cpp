#include "check/inflate.h"

#include <cstdint>

#include "release/byte_source.h"

namespace check {

namespace {

constexpr int kMaxBits = 15;

[[noreturn]] void Fail(const char* why) {
  throw release::UnreadablePackage(std::string("the compressed data is damaged: ") + why);
}

class BitReader {
 public:
  explicit BitReader(std::string_view in) : in_(in) {}

  unsigned Bits(int count) {
    std::uint32_t value = buffer_;
    while (held_ < count) {
      if (at_ >= in_.size()) Fail("it ends in the middle of a block");
      value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in_[at_++])) << held_;
      held_ += 8;
    }
    buffer_ = value >> count;
    held_ -= count;
    return value & ((1u << count) - 1);
  }
  void ToByte() {
    buffer_ = 0;
    held_ = 0;
  }
  std::string_view Take(std::size_t count) {
    if (count > in_.size() - at_) Fail("a stored block runs past its end");
    const std::string_view bytes = in_.substr(at_, count);
    at_ += count;
    return bytes;
  }

 private:
  std::string_view in_;
  std::size_t at_ = 0;
  std::uint32_t buffer_ = 0;
  int held_ = 0;
};

// A canonical Huffman code: how many codes of each length, and the symbols in order.
struct Huffman {
  short count[kMaxBits + 1];
  short symbol[288];

  // False when the lengths over-subscribe the code. An incomplete code is
  // allowed (a single distance code is common).
  bool Build(const short* lengths, int n) {
    for (short& c : count) c = 0;
    for (int s = 0; s < n; ++s) ++count[lengths[s]];
    if (count[0] == n) return true;
    int left = 1;
    for (int len = 1; len <= kMaxBits; ++len) {
      left = (left << 1) - count[len];
      if (left < 0) return false;
    }
    short offs[kMaxBits + 1];
    offs[1] = 0;
    for (int len = 1; len < kMaxBits; ++len) offs[len + 1] = offs[len] + count[len];
    for (int s = 0; s < n; ++s) {
      if (lengths[s] != 0) symbol[offs[lengths[s]]++] = static_cast<short>(s);
    }
    return true;
  }

  int Decode(BitReader& bits) const {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
      code |= static_cast<int>(bits.Bits(1));
      const int c = count[len];
      if (code - c < first) return symbol[index + (code - first)];
      index += c;
      first = (first + c) << 1;
      code <<= 1;
    }
    Fail("a code that no table holds");
  }
};

constexpr short kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                   31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr short kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                               33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                               1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr short kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                  6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void Codes(BitReader& bits, std::string& out, std::size_t limit, const Huffman& lengths,
           const Huffman& distances) {
  for (;;) {
    int symbol = lengths.Decode(bits);
    if (symbol < 256) {
      if (out.size() >= limit) Fail("it unpacks to more than the limit (a decompression bomb?)");
      out += static_cast<char>(symbol);
      continue;
    }
    if (symbol == 256) return;
    symbol -= 257;
    if (symbol >= 29) Fail("a length code out of range");
    const std::size_t length = kLengthBase[symbol] + bits.Bits(kLengthExtra[symbol]);
    const int d = distances.Decode(bits);
    if (d >= 30) Fail("a distance code out of range");
    const std::size_t distance = kDistBase[d] + bits.Bits(kDistExtra[d]);
    if (distance > out.size()) Fail("a back reference before the start");
    if (length > limit - out.size())
      Fail("it unpacks to more than the limit (a decompression bomb?)");
    const std::size_t from = out.size() - distance;
    for (std::size_t i = 0; i < length; ++i) out += out[from + i];
  }
}

void Fixed(BitReader& bits, std::string& out, std::size_t limit) {
  static Huffman lengths, distances;
  static bool built = false;
  if (!built) {
    short l[288];
    int s = 0;
    for (; s < 144; ++s) l[s] = 8;
    for (; s < 256; ++s) l[s] = 9;
    for (; s < 280; ++s) l[s] = 7;
    for (; s < 288; ++s) l[s] = 8;
    lengths.Build(l, 288);
    for (s = 0; s < 30; ++s) l[s] = 5;
    distances.Build(l, 30);
    built = true;
  }
  Codes(bits, out, limit, lengths, distances);
}

void Dynamic(BitReader& bits, std::string& out, std::size_t limit) {
  static constexpr short kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                       11, 4,  12, 3, 13, 2, 14, 1, 15};
  const int nlen = static_cast<int>(bits.Bits(5)) + 257;
  const int ndist = static_cast<int>(bits.Bits(5)) + 1;
  const int ncode = static_cast<int>(bits.Bits(4)) + 4;
  if (nlen > 286 || ndist > 30) Fail("too many codes in a block's tables");
  short l[320] = {};
  for (int i = 0; i < ncode; ++i) l[kOrder[i]] = static_cast<short>(bits.Bits(3));
  Huffman code_lengths;
  if (!code_lengths.Build(l, 19)) Fail("a malformed table of code lengths");
  int at = 0;
  while (at < nlen + ndist) {
    int symbol = code_lengths.Decode(bits);
    if (symbol < 16) {
      l[at++] = static_cast<short>(symbol);
      continue;
    }
    short value = 0;
    int repeat;
    if (symbol == 16) {
      if (at == 0) Fail("a repeat with nothing before it");
      value = l[at - 1];
      repeat = 3 + static_cast<int>(bits.Bits(2));
    } else if (symbol == 17) {
      repeat = 3 + static_cast<int>(bits.Bits(3));
    } else {
      repeat = 11 + static_cast<int>(bits.Bits(7));
    }
    if (at + repeat > nlen + ndist) Fail("code lengths beyond the table");
    while (repeat-- > 0) l[at++] = value;
  }
  if (l[256] == 0) Fail("no end-of-block code");
  Huffman lengths, distances;
  if (!lengths.Build(l, nlen) || !distances.Build(l + nlen, ndist)) Fail("a malformed code table");
  Codes(bits, out, limit, lengths, distances);
}

}  // namespace

void Inflate(std::string_view in, std::string& out, std::size_t limit) {
  BitReader bits(in);
  for (bool last = false; !last;) {
    last = bits.Bits(1) != 0;
    switch (bits.Bits(2)) {
      case 0: {
        bits.ToByte();
        const std::string_view header = bits.Take(4);
        const unsigned len =
            static_cast<unsigned char>(header[0]) | (static_cast<unsigned char>(header[1]) << 8);
        const unsigned nlen =
            static_cast<unsigned char>(header[2]) | (static_cast<unsigned char>(header[3]) << 8);
        if (len != (~nlen & 0xFFFF)) Fail("a stored block's length does not match its complement");
        if (len > limit - out.size())
          Fail("it unpacks to more than the limit (a decompression bomb?)");
        out += bits.Take(len);
        break;
      }
      case 1:
        Fixed(bits, out, limit);
        break;
      case 2:
        Dynamic(bits, out, limit);
        break;
      default:
        Fail("a block of the reserved kind 3");
    }
  }
}

}  // namespace check
