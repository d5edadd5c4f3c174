#include "win32/portable/command_line.h"

#include <algorithm>

namespace win32 {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

void SkipBlanks(std::string_view line, std::size_t& at) {
  while (at < line.size() && IsBlank(line[at])) ++at;
}

// No escapes in the name: a path holds backslashes but never quotes.
std::string ProgramName(std::string_view line, std::size_t& at) {
  if (!line.empty() && line[0] == '"') {
    const std::size_t end = std::min(line.find('"', 1), line.size());
    at = std::min(end + 1, line.size());
    return std::string(line.substr(1, end - 1));
  }
  while (at < line.size() && !IsBlank(line[at])) ++at;
  return std::string(line.substr(0, at));
}

// A quote after `backslashes` backslashes, at `at`.
void TakeQuote(std::string_view line, std::size_t& at, std::size_t backslashes, bool& quoted,
               std::string& word) {
  word.append(backslashes / 2, '\\');
  if (backslashes % 2 == 1) {
    word += '"';
  } else if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
    word += '"';
    quoted = false;
    ++at;
  } else {
    quoted = !quoted;
  }
}

std::string Argument(std::string_view line, std::size_t& at) {
  std::string word;
  bool quoted = false;
  std::size_t backslashes = 0;
  for (; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '\\') {
      ++backslashes;
    } else if (c == '"') {
      TakeQuote(line, at, backslashes, quoted, word);
      backslashes = 0;
    } else {
      word.append(backslashes, '\\');
      backslashes = 0;
      if (!quoted && IsBlank(c)) break;
      word += c;
    }
  }
  word.append(backslashes, '\\');
  return word;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::size_t at = 0;
  std::vector<std::string> words{ProgramName(line, at)};
  SkipBlanks(line, at);
  while (at < line.size()) {
    words.push_back(Argument(line, at));
    SkipBlanks(line, at);
  }
  return words;
}

}  // namespace win32
