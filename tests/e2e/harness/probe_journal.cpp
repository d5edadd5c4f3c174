#include "harness/probe_journal.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace e2e {
namespace {

std::vector<std::string> SplitAtTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool IsNumber(const std::string& text) {
  return !text.empty() && text.size() < 10 &&
         text.find_first_not_of("0123456789") == std::string::npos;
}

std::runtime_error NoRecord(const std::string& line, int line_number) {
  return std::runtime_error("probe journal line " + std::to_string(line_number) +
                            " is not a record: '" + line + "'");
}

ProbeRun ParseStart(const std::vector<std::string>& fields, const std::string& line,
                    int line_number) {
  if (fields.size() != 5 || !IsNumber(fields[0]) || fields[1].empty() ||
      (fields[4] != "-" && !IsNumber(fields[4])))
    throw NoRecord(line, line_number);
  ProbeRun run{std::stoi(fields[0]), fields[1], fields[2], fields[3], fields[4]};
  run.start_line = line_number;
  return run;
}

// "end", the sequence and the file name of a run recorded before.
void ParseEnd(const std::vector<std::string>& fields, const std::string& line, int line_number,
              std::vector<ProbeRun>& runs) {
  if (fields.size() != 3 || !IsNumber(fields[1])) throw NoRecord(line, line_number);
  for (ProbeRun& run : runs) {
    if (run.sequence != std::stoi(fields[1])) continue;
    if (run.file_name != fields[2] || run.end_line != 0) break;
    run.end_line = line_number;
    return;
  }
  throw std::runtime_error("probe journal line " + std::to_string(line_number) +
                           " ends no run recorded before it: '" + line + "'");
}

}  // namespace

std::vector<ProbeRun> ParseProbeJournal(const std::string& text) {
  std::vector<ProbeRun> runs;
  std::istringstream lines(text);
  std::string line;
  int line_number = 0;
  while (std::getline(lines, line)) {
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> fields = SplitAtTabs(line);
    if (fields[0] == "end") {
      ParseEnd(fields, line, line_number, runs);
    } else {
      runs.push_back(ParseStart(fields, line, line_number));
    }
  }
  return runs;
}

std::vector<ProbeRun> ReadProbeJournal(const fs::path& journal) {
  std::ifstream in(journal, std::ios::binary);
  if (!in) return {};
  std::stringstream content;
  content << in.rdbuf();
  return ParseProbeJournal(content.str());
}

void WriteProbeSettings(const fs::path& exe, const ProbeSettings& settings) {
  fs::path side_file = fs::path(exe).replace_extension(".probe");
  std::ofstream out(side_file, std::ios::binary | std::ios::trunc);
  if (settings.journal) out << "journal=" << *settings.journal << "\r\n";
  if (settings.sleep_ms) out << "sleep_ms=" << *settings.sleep_ms << "\r\n";
  if (settings.exit_code) out << "exit_code=" << *settings.exit_code << "\r\n";
  if (settings.log_file) out << "log_file=" << *settings.log_file << "\r\n";
  if (settings.record_end) out << "record_end=" << (*settings.record_end ? "1" : "0") << "\r\n";
  if (settings.end_session) out << "end_session=" << (*settings.end_session ? "1" : "0") << "\r\n";
  if (settings.change_self) out << "change_self=" << (*settings.change_self ? "1" : "0") << "\r\n";
  if (settings.kill_installer)
    out << "kill_installer=" << (*settings.kill_installer ? "1" : "0") << "\r\n";
  if (!out.flush()) throw std::runtime_error("cannot write " + side_file.string());
}

fs::path PlaceProbe(const fs::path& probe_exe, const fs::path& folder, const std::string& exe_name,
                    const ProbeSettings& settings) {
  fs::create_directories(folder);
  fs::path exe = folder / exe_name;
  fs::copy_file(probe_exe, exe, fs::copy_options::overwrite_existing);
  WriteProbeSettings(exe, settings);
  return exe;
}

}  // namespace e2e
