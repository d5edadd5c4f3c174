#include "release/sha256.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define RELEASE_SHA256_X86 1
#endif

namespace release {

namespace {

constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t kInitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                            0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::uint32_t RotateRight(std::uint32_t x, int n) {
  return (x >> n) | (x << (32 - n));
}

std::uint32_t LoadBigEndian(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

// The rounds as the standard writes them, with the message schedule kept to
// its last 16 words. Unrolled, the compiler renames the eight working
// variables instead of moving them.
void CompressPortable(std::uint32_t state[8], const unsigned char* blocks, std::size_t count) {
  for (; count > 0; --count, blocks += 64) {
    std::uint32_t w[16];
    for (int t = 0; t < 16; ++t) w[t] = LoadBigEndian(blocks + 4 * t);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4],
                  f = state[5], g = state[6], h = state[7];
#pragma GCC unroll 64
    for (int t = 0; t < 64; ++t) {
      if (t >= 16) {
        const std::uint32_t w15 = w[(t - 15) & 15], w2 = w[(t - 2) & 15];
        w[t & 15] += (RotateRight(w2, 17) ^ RotateRight(w2, 19) ^ (w2 >> 10)) + w[(t - 7) & 15] +
                     (RotateRight(w15, 7) ^ RotateRight(w15, 18) ^ (w15 >> 3));
      }
      const std::uint32_t t1 = h + (RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25)) +
                               ((e & f) ^ (~e & g)) + kRoundConstants[t] + w[t & 15];
      const std::uint32_t t2 = (RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22)) +
                               ((a & b) ^ (a & c) ^ (b & c));
      h = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
  }
}

#ifdef RELEASE_SHA256_X86

// SHA (leaf 7, EBX bit 29), SSE4.1 and SSSE3 (leaf 1, ECX bits 19 and 9).
bool ProcessorHasShaExtensions() {
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  if (!(ecx & (1u << 19)) || !(ecx & (1u << 9))) return false;
  if (__get_cpuid_max(0, nullptr) < 7) return false;
  __cpuid_count(7, 0, eax, ebx, ecx, edx);
  return (ebx & (1u << 29)) != 0;
}

// The state lives in two registers in the order the round instruction wants
// (ABEF and CDGH); each step does four rounds and makes the next four words
// of the schedule from the sixteen before them.
__attribute__((target("sha,sse4.1,ssse3"))) void CompressWithExtensions(std::uint32_t state[8],
                                                                        const unsigned char* blocks,
                                                                        std::size_t count) {
  const __m128i byte_swap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  const __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(state)), 0xB1);
  const __m128i efgh =
      _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(state + 4)), 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
  for (; count > 0; --count, blocks += 64) {
    const __m128i abef_before = abef, cdgh_before = cdgh;
    __m128i w[4];
#pragma GCC unroll 16
    for (int i = 0; i < 16; ++i) {
      if (i < 4) {
        w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)),
                                byte_swap);
      } else {
        const __m128i sum = _mm_add_epi32(_mm_sha256msg1_epu32(w[i & 3], w[(i + 1) & 3]),
                                          _mm_alignr_epi8(w[(i + 3) & 3], w[(i + 2) & 3], 4));
        w[i & 3] = _mm_sha256msg2_epu32(sum, w[(i + 3) & 3]);
      }
      __m128i message = _mm_add_epi32(
          w[i & 3], _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRoundConstants + 4 * i)));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
      message = _mm_shuffle_epi32(message, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
    }
    abef = _mm_add_epi32(abef, abef_before);
    cdgh = _mm_add_epi32(cdgh, cdgh_before);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

#endif

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool Sha256::Available(Engine engine) {
#ifdef RELEASE_SHA256_X86
  static const bool extensions = ProcessorHasShaExtensions();
  return engine == Engine::Portable || extensions;
#else
  return engine == Engine::Portable;
#endif
}

Sha256::Engine Sha256::Fastest() {
  return Available(Engine::ShaExtensions) ? Engine::ShaExtensions : Engine::Portable;
}

Sha256::Sha256(Engine engine) : compress_(CompressPortable) {
  if (!Available(engine)) throw std::logic_error("this processor has no SHA extensions");
#ifdef RELEASE_SHA256_X86
  if (engine == Engine::ShaExtensions) compress_ = CompressWithExtensions;
#endif
  std::memcpy(state_, kInitialState, sizeof state_);
}

void Sha256::Update(std::string_view bytes) {
  auto data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t size = bytes.size();
  if (size == 0) return;
  length_ += size;
  if (buffered_ > 0) {
    const std::size_t taken = std::min(size, sizeof buffer_ - buffered_);
    std::memcpy(buffer_ + buffered_, data, taken);
    buffered_ += taken;
    data += taken;
    size -= taken;
    if (buffered_ < sizeof buffer_) return;
    compress_(state_, buffer_, 1);
    buffered_ = 0;
  }
  if (size >= 64) compress_(state_, data, size / 64);
  buffered_ = size % 64;
  if (buffered_ > 0) std::memcpy(buffer_, data + size - buffered_, buffered_);
}

// The padding: a one bit, zeros up to 56 bytes past a block's start, the
// length in bits as a big-endian 64-bit number.
std::string Sha256::HexDigest() {
  const std::uint64_t bits = length_ * 8;
  unsigned char tail[72] = {0x80};
  const std::size_t length_at = (buffered_ < 56 ? 56 : 120) - buffered_;
  for (int i = 0; i < 8; ++i) {
    tail[length_at + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  }
  Update(std::string_view(reinterpret_cast<const char*>(tail), length_at + 8));
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint32_t word : state_) {
    for (int shift = 28; shift >= 0; shift -= 4) hex += kDigits[(word >> shift) & 0xF];
  }
  return hex;
}

std::string Sha256Hex(std::string_view bytes, Sha256::Engine engine) {
  Sha256 hash(engine);
  hash.Update(bytes);
  return hash.HexDigest();
}

bool IsSha256Text(std::string_view text) {
  if (text.size() != 64) return false;
  for (const char c : text) {
    if (HexValue(c) < 0) return false;
  }
  return true;
}

bool SameSha256(std::string_view a, std::string_view b) {
  if (!IsSha256Text(a) || !IsSha256Text(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (HexValue(a[i]) != HexValue(b[i])) return false;
  }
  return true;
}

}  // namespace release
