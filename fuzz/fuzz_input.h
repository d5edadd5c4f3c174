// What the fuzz targets share: one input holds several files, separated by form feeds, and a
// broken rule ends the run as a crash, so that libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fake_system.h"
#include "release/text_encoding.h"

namespace fuzz {

constexpr char kSeparator = '\f';

// The first `count` parts of the input; the missing ones are empty, the last takes the rest.
inline std::vector<std::string_view> Parts(std::string_view input, std::size_t count) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    const std::size_t end = input.find(kSeparator);
    parts.push_back(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  }
  parts.push_back(input);
  return parts;
}

[[noreturn]] inline void Broken(const char* rule) {
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}

inline void Require(bool holds, const char* rule) {
  if (!holds) Broken(rule);
}

inline bool IsUtf8(std::string_view text) {
  return release::SanitizeUtf8(text) == text;
}

// The number of code points of valid UTF-8 text.
inline std::size_t CodePoints(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// The bytes of a file as the program reads them on a German or English system.
inline std::string Decoded(std::string_view bytes) {
  static test::FakeSystem system;
  return release::DecodeText(bytes, [](std::string_view b) { return system.DecodeAnsi(b); });
}

}  // namespace fuzz
