// The continuation file that carries a run over a restart of the computer:
// its writing and its reading, so that the order of its lines is kept here
// alone.
#pragma once

#include <string>
#include <vector>

namespace frame {

// The four options of a run, in the order of the file.
struct RunOptions {
  bool AutoReboot = false;
  bool Minimize = false;
  bool DeleteLogs = false;
  bool LowPriority = false;
};

// Line 1 the run's total, lines 2 to 5 the four options ("1" or "0"), then
// one zero-based list row per package still to install; CR LF after each.
std::string ContinuationText(int run_total, const RunOptions& options,
                             const std::vector<int>& rows);

// What a continuation file holds; the rows stay text until they are applied.
struct Continuation {
  int RunTotal = 0;
  RunOptions Options;
  std::vector<std::string> Rows;
};

// Throws ConvertError for a first line that is not an integer, RangeError for
// more than 1000 rows. An option is on only for the line "1".
Continuation ReadContinuation(const std::string& bytes);

// The name of the run-once value that starts the program after the logon.
constexpr const char* kRunOnceName = "rir Eridivu";

}  // namespace frame
