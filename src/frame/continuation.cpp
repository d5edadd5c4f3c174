#include "frame/continuation.h"

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

Continuation ReadContinuation(const std::string& bytes) {
  release::TextLines lines(bytes);
  Continuation file;
  file.RunTotal = release::StrToInt(lines.Next());
  for (bool* option : {&file.Options.AutoReboot, &file.Options.Minimize, &file.Options.DeleteLogs,
                       &file.Options.LowPriority}) {
    *option = lines.Next() == "1";
  }
  while (!lines.AtEnd()) {
    if (file.Rows.size() == kMaxRows) throw release::RangeError();
    file.Rows.push_back(lines.Next());
  }
  return file;
}

}  // namespace frame
