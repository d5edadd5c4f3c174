// The INI reader with the text decoding: any bytes, read as a file of a release, give valid
// UTF-8, and every value that arrives is valid UTF-8 of at most 2047 characters, on one line,
// found under any case of its section's and key's names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "release/ini_file.h"
#include "release/integer_text.h"

namespace {

struct Key {
  std::string section, key;
};

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The first "[section]" of the text and the name before the first '=' after it, so that the
// keys the input makes up are looked up too, besides the program's own.
Key KeyOfText(std::string_view text) {
  const std::size_t open = text.find('[');
  const std::size_t close = text.find(']', open);
  if (close == std::string_view::npos) return {};
  const std::size_t line = text.find('\n', close);
  const std::size_t eq = text.find('=', line);
  if (eq == std::string_view::npos) return {};
  const std::size_t start = text.rfind('\n', eq) + 1;
  return {std::string(text.substr(open + 1, close - open - 1)),
          std::string(text.substr(start, eq - start))};
}

void CheckValue(const release::IniFile& ini, const Key& key) {
  const std::string value = ini.ReadString(key.section, key.key, "\n");
  if (value == "\n") return;  // missing
  fuzz::Require(fuzz::IsUtf8(value), "a value is valid UTF-8");
  fuzz::Require(fuzz::CodePoints(value) <= release::IniFile::kMaxValueLength,
                "a value has at most 2047 characters");
  fuzz::Require(value.find('\n') == std::string::npos, "a value is one line");
  fuzz::Require(ini.ReadString(Upper(key.section), Upper(key.key), "\n") == value,
                "names match without regard to case");
  const auto number = release::ParseInteger(value);
  fuzz::Require(ini.ReadInteger(key.section, key.key, 7) == number.value_or(7),
                "an integer value is the parsed text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::Require(fuzz::IsUtf8(release::Utf16LeToUtf8(bytes)), "UTF-16 gives valid UTF-8");
  const std::string text = fuzz::Decoded(bytes);
  fuzz::Require(fuzz::IsUtf8(text), "a decoded file is valid UTF-8");
  const release::IniFile ini = release::IniFile::Parse(text);
  for (const Key& key : {Key{"Main", "Name"}, Key{"Main", "Files"}, Key{"Words", "001"},
                         Key{"File1", "File"}, KeyOfText(text)}) {
    CheckValue(ini, key);
  }
  return 0;
}
