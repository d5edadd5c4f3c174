#include "frame/continuation.h"

#include <set>

#include "release/errors.h"
#include "release/integer_text.h"
#include "release/text_lines.h"

namespace frame {

namespace {

constexpr std::size_t kMaxRows = 1000;

}  // namespace

std::string ContinuationText(int run_total, const RunOptions& options,
                             const std::vector<int>& rows) {
  std::string text = std::to_string(run_total) + "\r\n";
  for (const bool option :
       {options.AutoReboot, options.Minimize, options.DeleteLogs, options.LowPriority}) {
    text += option ? "1\r\n" : "0\r\n";
  }
  for (const int row : rows) text += std::to_string(row) + "\r\n";
  return text;
}

Continuation ReadContinuation(const std::string& bytes, int package_count) {
  release::TextLines lines(bytes);
  Continuation file;
  file.RunTotal = release::StrToInt(lines.Next());
  for (bool* option : {&file.Options.AutoReboot, &file.Options.Minimize, &file.Options.DeleteLogs,
                       &file.Options.LowPriority}) {
    *option = lines.Next() == "1";
  }
  std::set<int> distinct;
  while (!lines.AtEnd()) {
    if (file.Rows.size() == kMaxRows) throw release::RangeError();
    const int row = release::StrToInt(lines.Next());
    if (row < 0 || row >= package_count) {
      throw release::AppError("Listenindex überschreitet das Maximum (" + std::to_string(row) +
                              ")");
    }
    file.Rows.push_back(row);
    distinct.insert(row);
  }
  // The counter and the progress bar count on from the total: it must hold
  // every row still to install, and no more than a release can have.
  if (file.RunTotal < static_cast<int>(distinct.size()) ||
      file.RunTotal > static_cast<int>(kMaxRows)) {
    throw release::RangeError();
  }
  return file;
}

}  // namespace frame
