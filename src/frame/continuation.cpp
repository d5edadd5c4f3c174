#include "frame/continuation.h"

#include <optional>
#include <set>

#include "platform/system.h"
#include "release/errors.h"
#include "release/integer_text.h"
#include "release/text_encoding.h"
#include "release/text_lines.h"

namespace frame {

namespace {

constexpr std::size_t kMaxRows = 1000;
// More than a run ever counts for a package, small enough for an int.
constexpr std::uint32_t kMaxCount = 1000;

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
  const std::string text = release::SanitizeUtf8(bytes);  // what it says reaches its messages
  release::TextLines lines(text);
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

namespace {

// A field holds no tab and no line break.
std::string Field(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// A decimal number, 0 to 4294967295: an exit code, a row, a count.
std::optional<std::uint32_t> Decimal(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

}  // namespace

std::string FailuresText(const std::vector<PackageFailure>& failures) {
  std::string text;
  for (const PackageFailure& failure : failures) {
    text += std::string(failure.started ? "1" : "0") + "\t" + std::to_string(failure.exit_code) +
            "\t" + Field(failure.name) + "\t" + Field(failure.reason) + "\r\n";
  }
  return text;
}

std::vector<PackageFailure> ReadFailures(const std::string& bytes) {
  std::vector<PackageFailure> failures;
  const std::string text = release::SanitizeUtf8(bytes);  // names and reasons are shown
  release::TextLines lines(text);
  while (!lines.AtEnd()) {
    const std::vector<std::string> fields = Split(lines.Next());
    const auto code = fields.size() == 4 ? Decimal(fields[1]) : std::nullopt;
    if (!code || (fields[0] != "0" && fields[0] != "1")) continue;
    failures.push_back({fields[2], fields[0] == "1", *code, fields[3]});
  }
  return failures;
}

std::string AttemptsText(const Attempts& attempts) {
  std::string text;
  for (const auto& [row, count] : attempts) {
    text += std::to_string(row) + "\t" + std::to_string(count) + "\r\n";
  }
  return text;
}

Attempts ReadAttempts(const std::string& bytes) {
  Attempts ends;
  release::TextLines lines(bytes);
  while (!lines.AtEnd()) {
    const std::vector<std::string> fields = Split(lines.Next());
    const auto row = fields.size() == 2 ? Decimal(fields[0]) : std::nullopt;
    const auto count = fields.size() == 2 ? Decimal(fields[1]) : std::nullopt;
    if (!row || *row >= kMaxRows || !count || *count == 0 || *count > kMaxCount) continue;
    ends[static_cast<int>(*row)] = static_cast<int>(*count);
  }
  return ends;
}

std::string NamesText(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += Field(name) + "\r\n";
  return text;
}

std::vector<std::string> ReadNames(const std::string& bytes) {
  std::vector<std::string> names;
  const std::string text = release::SanitizeUtf8(bytes);  // the names are shown
  release::TextLines lines(text);
  while (!lines.AtEnd()) {
    std::string name = lines.Next();
    if (!name.empty()) names.push_back(std::move(name));
  }
  return names;
}

void RemoveFilesBeside(platform::System& system, const std::string& continuation_path) {
  for (const char* suffix : {kFailuresFileSuffix, kAttemptsFileSuffix, kComputerFileSuffix,
                             kNotApplicableFileSuffix, kPendingRestartFileSuffix, kLogonsFileSuffix,
                             kFoundInstalledFileSuffix, kRecordFileSuffix}) {
    const std::string path = continuation_path + suffix;
    if (system.FileExists(path)) system.RemoveFile(path);
  }
}

}  // namespace frame
