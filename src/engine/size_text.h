// The size of a package as the status line shows it: "1,18 MB".
#pragma once

#include <cstdint>
#include <string>

#include "platform/number_separators.h"

namespace engine {

using platform::NumberSeparators;

// Two decimals with the locale's separators and the unit Bytes, KB, MB or GB.
std::string FormatSize(std::uint64_t bytes, const NumberSeparators& separators);

}  // namespace engine
