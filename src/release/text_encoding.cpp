#include "release/text_encoding.h"

namespace release {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at the front of `s`, or 0 when it is not valid.
std::size_t ValidSequenceLength(std::string_view s) {
  const auto b0 = static_cast<unsigned char>(s[0]);
  if (b0 < 0x80) return 1;
  std::size_t len;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() < len) return 0;
  char32_t cp = b0 & (0x7F >> len);
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (!IsContinuation(b)) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  return (cp < min || cp > 0x10FFFF || surrogate) ? 0 : len;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string SanitizeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t len = ValidSequenceLength(bytes);
    if (len == 0) {
      AppendUtf8(out, kReplacement);
      bytes.remove_prefix(1);
    } else {
      out.append(bytes.data(), len);
      bytes.remove_prefix(len);
    }
  }
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t i) -> char32_t {
    return static_cast<unsigned char>(bytes[2 * i]) |
           (static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  };
  for (std::size_t i = 0; i < units; ++i) {
    char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = kReplacement;
    }
    AppendUtf8(out, u);
  }
  if (bytes.size() % 2 != 0) AppendUtf8(out, kReplacement);
  return out;
}

namespace {

// What Windows-1252 holds at 0x80 to 0x9F; its five unassigned bytes become the control
// characters of the same number, as Windows decodes them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
  }
  return out;
}

std::string Utf8ToWindows1252(std::string_view text) {
  const std::string units = Utf8ToUtf16Le(text);
  std::string out;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    const char16_t u = static_cast<char16_t>(static_cast<unsigned char>(units[i]) |
                                             (static_cast<unsigned char>(units[i + 1]) << 8));
    char byte = '?';
    if (u < 0x80 || (u >= 0xA0 && u < 0x100)) byte = static_cast<char>(u);
    for (int high = 0; high < 32; ++high) {
      if (kCp1252High[high] == u) byte = static_cast<char>(0x80 + high);
    }
    out += byte;
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view text) {
  const std::string valid = SanitizeUtf8(text);
  std::string out;
  auto put = [&out](char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
  };
  for (std::size_t i = 0; i < valid.size();) {
    const auto lead = static_cast<unsigned char>(valid[i]);
    const std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = len == 1 ? lead : len == 2 ? lead & 0x1F : len == 3 ? lead & 0x0F : lead & 0x07;
    for (std::size_t k = 1; k < len; ++k)
      c = (c << 6) | (static_cast<unsigned char>(valid[i + k]) & 0x3F);
    i += len;
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

std::string DecodeText(std::string_view bytes, const AnsiDecoder& decode_ansi) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return SanitizeUtf8(bytes.substr(3));
  if (StartsWith(bytes, "\xFF\xFE")) return Utf16LeToUtf8(bytes.substr(2));
  return decode_ansi(bytes);
}

std::size_t Utf8PrefixLength(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (; count > 0 && pos < text.size(); --count) {
    ++pos;
    while (pos < text.size() && IsContinuation(static_cast<unsigned char>(text[pos]))) ++pos;
  }
  return pos;
}

}  // namespace release
