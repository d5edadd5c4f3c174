#include "check/names.h"

#include <algorithm>

#include "release/ini_file.h"
#include "release/text_encoding.h"

namespace check {

std::string Fold(std::string_view name) {
  return release::IniFile::FoldName(name);
}

int EditDistance(std::string_view a, std::string_view b) {
  const std::size_t n = a.size(), m = b.size();
  std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
  for (std::size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
  for (std::size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= n; ++i) {
    for (std::size_t j = 1; j <= m; ++j) {
      const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[n][m];
}

bool IsClose(std::string_view written, std::string_view known) {
  const std::string a = Fold(written), b = Fold(known);
  if (a == b || a.empty()) return false;
  const int allowed = b.size() <= 4 ? 1 : 2;
  return EditDistance(a, b) <= allowed;
}

std::optional<int> NumberAfter(std::string_view name, std::string_view prefix) {
  const std::string folded = Fold(name);
  if (folded.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  std::string_view rest = std::string_view(folded).substr(prefix.size());
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '_' || rest.front() == '-'))
    rest.remove_prefix(1);
  if (rest.empty() || rest.size() > 9) return std::nullopt;
  int n = 0;
  for (const char c : rest) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

std::string Ranges(const std::vector<int>& numbers, const std::function<std::string(int)>& name) {
  constexpr int kMostRuns = 5;
  std::string text;
  int runs = 0;
  std::size_t i = 0;
  while (i < numbers.size()) {
    std::size_t j = i;
    while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
    if (runs == kMostRuns) {
      text += ", and " + std::to_string(numbers.size() - i) + " more";
      break;
    }
    if (runs > 0) text += ", ";
    text += name(numbers[i]);
    if (j > i) text += (j == i + 1 ? ", " : " to ") + name(numbers[j]);
    ++runs;
    i = j + 1;
  }
  return text;
}

std::string Quoted(const std::string& value) {
  constexpr std::size_t kLongest = 60;
  const std::size_t cut = release::Utf8PrefixLength(value, kLongest);
  if (cut == value.size()) return "\"" + value + "\"";
  return "\"" + value.substr(0, cut) + "…\"";
}

PathPlace PlaceInData(const std::string& path) {
  if (path.find(':') != std::string::npos || path.rfind("\\\\", 0) == 0 || path.rfind("//", 0) == 0)
    return PathPlace::Absolute;
  int depth = 0;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = path.find_first_of("\\/", start);
    const std::string part = path.substr(start, end - start);
    if (part == "..") {
      if (--depth < 0) return PathPlace::Outside;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return PathPlace::Inside;
}

std::string NotWebAddress(const std::string& address, const std::string& where) {
  return Quoted(address) + " is no web address: the " + where +
         " shows it but opens only http:// and https:// addresses";
}

}  // namespace check
