#include "engine/continuation.h"

namespace engine {

std::string ContinuationText(int run_total, const std::array<bool, 4>& options,
                             const std::vector<int>& rows) {
  std::string text = std::to_string(run_total) + "\r\n";
  for (const bool option : options) text += option ? "1\r\n" : "0\r\n";
  for (const int row : rows) text += std::to_string(row) + "\r\n";
  return text;
}

}  // namespace engine
