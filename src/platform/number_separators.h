// The user's locale's separators of numbers.
#pragma once

#include <string>

namespace platform {

struct NumberSeparators {
  std::string thousands = ".";
  std::string decimal = ",";
};

}  // namespace platform
