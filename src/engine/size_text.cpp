#include "engine/size_text.h"

#include <cmath>
#include <cstdio>

namespace engine {

namespace {

// "1234567.891" as "1.234.567,89".
std::string FormatNumber(double value, const NumberSeparators& separators) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.2f", value);
  const std::string text = digits;
  const std::size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  std::string grouped;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped += separators.thousands;
    grouped += whole[i];
  }
  return grouped + separators.decimal + text.substr(point + 1);
}

}  // namespace

std::string FormatSize(std::uint64_t bytes, const NumberSeparators& separators) {
  static const char* const kUnits[] = {" Bytes", " KB", " MB", " GB"};
  double value = static_cast<double>(bytes);
  int unit = 0;
  while (value / 1024 >= 1 && unit < 3) {
    value /= 1024;
    ++unit;
  }
  return FormatNumber(value, separators) + kUnits[unit];
}

}  // namespace engine
