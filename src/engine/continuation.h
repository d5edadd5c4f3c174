// The continuation file that carries a run over a restart of the computer.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace engine {

// Line 1 the run's total, lines 2 to 5 the four options ("1" or "0"), then
// one zero-based list row per package still to install; CR LF after each.
std::string ContinuationText(int run_total, const std::array<bool, 4>& options,
                             const std::vector<int>& rows);

// The name of the run-once value that starts the program after the logon.
constexpr const char* kRunOnceName = "rir Eridivu";

}  // namespace engine
