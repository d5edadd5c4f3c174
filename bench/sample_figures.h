// Order statistics of measured samples, for the whole-program benchmarks under Wine.
#pragma once

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace bench {

// The value below which `share` (0 to 1) of the samples lie: the nearest rank.
inline double Percentile(std::vector<double> samples, double share) {
  if (samples.empty()) throw std::invalid_argument("no samples");
  std::sort(samples.begin(), samples.end());
  const auto rank =
      static_cast<std::size_t>(std::ceil(share * static_cast<double>(samples.size())));
  return samples[std::min(samples.size(), std::max<std::size_t>(rank, 1)) - 1];
}

inline double Median(const std::vector<double>& samples) {
  return Percentile(samples, 0.5);
}

}  // namespace bench
