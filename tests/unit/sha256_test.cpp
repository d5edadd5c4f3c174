#include "release/sha256.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using release::Sha256;
using release::Sha256Hex;

// Every engine this processor runs: the portable one always, the SHA
// extensions where it has them (a machine without them tests one engine).
std::vector<Sha256::Engine> Engines() {
  std::vector<Sha256::Engine> engines = {Sha256::Engine::Portable};
  if (Sha256::Available(Sha256::Engine::ShaExtensions))
    engines.push_back(Sha256::Engine::ShaExtensions);
  return engines;
}

std::string Name(Sha256::Engine engine) {
  return engine == Sha256::Engine::Portable ? "portable" : "SHA extensions";
}

// "abcd...zabc..." of `length` bytes.
std::string Alphabet(std::size_t length) {
  std::string text(length, '\0');
  for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('a' + i % 26);
  return text;
}

// Every byte value, over and over: 3 MiB and 17 bytes.
std::string Pattern() {
  std::string bytes(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return bytes;
}
const char kPatternDigest[] = "af0420698203db612d2363019e5daab6c288a059aad9a9ee0270be2cd0f5bd4d";

// Feeds `bytes` in pieces of the given sizes, over and over, to the end.
std::string InPieces(const std::string& bytes, const std::vector<std::size_t>& sizes,
                     Sha256::Engine engine) {
  Sha256 hash(engine);
  std::size_t at = 0;
  for (std::size_t i = 0; at < bytes.size(); ++i) {
    const std::size_t size = std::min(sizes[i % sizes.size()], bytes.size() - at);
    hash.Update(std::string_view(bytes).substr(at, size));
    at += size;
  }
  return hash.HexDigest();
}

TEST(Sha256, KnownVectorsOfTheStandardAndOthers) {
  const std::vector<std::pair<std::string, std::string>> vectors = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlm"
       "nopqrsmnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {"The quick brown fox jumps over the lazy dog",
       "d7a8fbb307d7809469ca9abcb0082e4f8d5651e46d3cdb762d02d0bf37c9e592"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Sha256::Engine engine : Engines()) {
    for (const auto& [message, digest] : vectors) {
      EXPECT_EQ(Sha256Hex(message, engine), digest)
          << Name(engine) << ", " << message.size() << " bytes";
    }
  }
}

// The padding takes one more block from 56 bytes past a block's start on.
TEST(Sha256, LengthsAroundTheBlockEdges) {
  const std::vector<std::pair<std::size_t, std::string>> digests = {
      {55, "595615dbe4f0f407ae397d08b4c2cb870cb9b0e11937416f950c5160acf9c005"},
      {56, "784f623b787495078e93ff28a25b581df0584055a7e71d8cd90c454716b92f51"},
      {57, "808f0738aa4401bdee842e5a15a7baad5809f976d8eb6f9bd2683cebd2e8d671"},
      {63, "5ca3e1ef5207490eac01a795e5cc94d59582a5118bf9534665c8668d87aa647c"},
      {64, "2fcd5a0d60e4c941381fcc4e00a4bf8be422c3ddfafb93c809e8d1e2bfffae8e"},
      {65, "1b3cd1877ab2f2f19f7be001722554f336cb799df0329de0bb4c118dc6abc06d"},
      {119, "faef67da856d6fd9c8d12f9ed0a4fefd3cf0ce085ab43e2907418d457e3c354b"},
      {120, "c9512b08619c19fbb503c7da6b46ef20301e5f7a7a5f43989182398536f5c5c8"},
      {121, "6ce395ba6c616565668116ef1d4ab2894dd21b9c3e11e42ec5f57f77417fd623"},
      {127, "1b9907986f18ddc2b37e18be502d82d69d6e18bb9dff9e16f2aceea7d88cb933"},
      {128, "6c05be2c4268843ae47e68e611277ce62c02153f2f4d2e1e2a1a4b44f766cf74"},
      {129, "cd6bba8374324cbcc0c296b94f35299c0b9820393116358ac3afaf091a4955a5"},
  };
  for (const Sha256::Engine engine : Engines()) {
    for (const auto& [length, digest] : digests) {
      const std::string message = Alphabet(length);
      EXPECT_EQ(Sha256Hex(message, engine), digest) << Name(engine) << ", " << length << " bytes";
      // Split at each place of the first block and a byte or two past it.
      for (std::size_t split = 0; split <= std::min<std::size_t>(length, 66); ++split) {
        Sha256 hash(engine);
        hash.Update(std::string_view(message).substr(0, split));
        hash.Update(std::string_view(message).substr(split));
        EXPECT_EQ(hash.HexDigest(), digest) << Name(engine) << ", split at " << split;
      }
    }
  }
}

TEST(Sha256, LargeInputFedInPiecesOfAnySize) {
  const std::string pattern = Pattern();
  const std::vector<std::vector<std::size_t>> ways = {
      {pattern.size()}, {1, 63, 64, 65, 127, 4096}, {1 << 20}, {7, 1 << 16, 0, 3}, {64}};
  for (const Sha256::Engine engine : Engines()) {
    for (const auto& sizes : ways) {
      EXPECT_EQ(InPieces(pattern, sizes, engine), kPatternDigest)
          << Name(engine) << ", first piece " << sizes.front();
    }
    EXPECT_EQ(InPieces(std::string(1000000, 'a'), {999, 1, 10000}, engine),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0")
        << Name(engine);
  }
}

TEST(Sha256, TheFastestEngineIsTheExtensionsWhereTheProcessorHasThem) {
  EXPECT_TRUE(Sha256::Available(Sha256::Engine::Portable));
  EXPECT_EQ(Sha256::Fastest(), Sha256::Available(Sha256::Engine::ShaExtensions)
                                   ? Sha256::Engine::ShaExtensions
                                   : Sha256::Engine::Portable);
  if (!Sha256::Available(Sha256::Engine::ShaExtensions)) {
    EXPECT_THROW(Sha256(Sha256::Engine::ShaExtensions), std::logic_error);
  }
}

TEST(Sha256, ChecksumTextIs64HexDigitsInEitherCase) {
  const std::string digest = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
  EXPECT_TRUE(release::IsSha256Text(digest));
  EXPECT_TRUE(release::IsSha256Text(Sha256Hex("abc")));
  EXPECT_TRUE(release::SameSha256(digest, Sha256Hex("abc")));
  EXPECT_FALSE(release::SameSha256(digest, Sha256Hex("abd")));
  for (const std::string& bad :
       {std::string(), digest.substr(1), digest + "0", digest.substr(0, 63) + "g",
        digest.substr(0, 63) + " ", "0x" + digest.substr(2)}) {
    EXPECT_FALSE(release::IsSha256Text(bad)) << bad;
    EXPECT_FALSE(release::SameSha256(bad, bad)) << bad;
  }
}

}  // namespace
