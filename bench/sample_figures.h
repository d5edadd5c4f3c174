// Order statistics of measured samples, for the whole-program benchmarks under Wine, and the
// machine's load, which goes beside them.
#pragma once

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>
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

// The load average of the last one and five minutes, from /proc/loadavg.
inline std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five;
  in >> one >> five;
  return one + " (1 min), " + five + " (5 min)";
}

}  // namespace bench
