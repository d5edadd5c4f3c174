#include "harness/ui_driver.h"

#include <algorithm>
#include <initializer_list>
#include <sstream>
#include <stdexcept>

namespace e2e {
namespace {

std::string Unescaped(const std::string& value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    out += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
  }
  return out;
}

std::vector<std::string> Words(const std::string& command) {
  std::istringstream in(command);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The command's words joined by blanks.
std::string Command(std::initializer_list<std::string> words) {
  std::string command;
  for (const std::string& word : words) command += (command.empty() ? "" : " ") + word;
  return command;
}

}  // namespace

std::string WaitFor(const std::string& form, int ms) {
  return Command({"wait", form, std::to_string(ms)});
}
std::string WaitGone(const std::string& form, int ms) {
  return Command({"gone", form, std::to_string(ms)});
}
std::string WaitEnabled(const std::string& form, const std::string& control, int ms) {
  return Command({"waitenabled", form, control, std::to_string(ms)});
}
std::string Click(const std::string& form, const std::string& control) {
  return Command({"click", form, control});
}
std::string Press(const std::string& form, const std::string& key) {
  return Command({"press", form, key});
}
std::string CaptionOf(const std::string& form) {
  return Command({"caption", form});
}
std::string IsShown(const std::string& form) {
  return Command({"shown", form});
}
std::string TextOf(const std::string& form, const std::string& control) {
  return Command({"text", form, control});
}
std::string CheckedOf(const std::string& form, const std::string& control) {
  return Command({"checked", form, control});
}
std::string EnabledOf(const std::string& form, const std::string& control) {
  return Command({"enabled", form, control});
}
std::string VisibleOf(const std::string& form, const std::string& control) {
  return Command({"visible", form, control});
}
std::string FocusOf(const std::string& form) {
  return Command({"focus", form});
}
std::string RectOf(const std::string& form) {
  return Command({"rect", form});
}
std::string RowTextOf(const std::string& form, const std::string& list, int row) {
  return Command({"rowtext", form, list, std::to_string(row)});
}
std::string RowCheckedOf(const std::string& form, const std::string& list, int row) {
  return Command({"rowchecked", form, list, std::to_string(row)});
}
std::string PositionOf(const std::string& form, const std::string& control) {
  return Command({"position", form, control});
}
std::string PostKey(const std::string& form, const std::string& key) {
  return Command({"key", form, key});
}
std::string Maximize(const std::string& form) {
  return Command({"maximize", form});
}
std::string Exists(const std::string& form) {
  return Command({"exists", form});
}
std::string Absent(const std::string& form, int ms) {
  return Command({"absent", form, std::to_string(ms)});
}
std::string DrawnOf(const std::string& form, const std::string& control) {
  return Command({"drawn", form, control});
}
std::string FitsOf(const std::string& form, const std::string& control) {
  return Command({"fits", form, control});
}
std::string BoundsOf(const std::string& form, const std::string& control) {
  return Command({"bounds", form, control});
}

std::string DriverRun::Value(const std::string& command) const {
  for (const auto& [done, value] : values)
    if (done == command) return value;
  throw std::out_of_range("the driver gave no value for \"" + command + "\"; " + Report());
}

std::vector<std::string> DriverRun::Values(const std::string& command) const {
  std::vector<std::string> found;
  for (const auto& [done, value] : values)
    if (done == command) found.push_back(value);
  return found;
}

std::string DriverRun::Report() const {
  return "driver exit code " + std::to_string(result.exit_code) +
         (result.timed_out ? " (timed out)" : "") + ", output:\n" + result.output;
}

ScreenRect ParseRect(const std::string& text) {
  ScreenRect r;
  std::istringstream(text) >> r.left >> r.top >> r.right >> r.bottom;
  return r;
}

DriverRun ParseDriverOutput(const std::vector<std::string>& commands, const std::string& output) {
  DriverRun run;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("error: ", 0) == 0) {
      run.error = line.substr(7);
      continue;
    }
    const size_t separator = line.find(" = ");
    if (separator == std::string::npos) continue;  // Wine's own chatter
    const std::string command = line.substr(0, separator);
    if (std::find(commands.begin(), commands.end(), command) == commands.end()) continue;
    run.values.emplace_back(command, Unescaped(line.substr(separator + 3)));
  }
  return run;
}

DriverRun Drive(WineSession& wine, const std::vector<std::string>& commands,
                std::chrono::milliseconds timeout, const std::map<std::string, std::string>& env) {
  std::vector<std::string> args;
  std::vector<std::string> normalised;
  for (const std::string& command : commands) {
    std::vector<std::string> words = Words(command);
    if (words.empty()) throw std::invalid_argument("empty driver command");
    if (!args.empty()) args.push_back(";");
    std::string joined;
    for (const std::string& word : words) {
      args.push_back(word);
      joined += (joined.empty() ? "" : " ") + word;
    }
    normalised.push_back(joined);
  }
  RunOptions options;
  options.timeout = timeout;
  options.capture_output = true;
  options.env = env;
  RunResult result = wine.Run(WindowsProgram("driver.exe").string(), args, options);
  DriverRun run = ParseDriverOutput(normalised, result.output);
  run.result = std::move(result);
  if (run.error.empty() && !run.ok()) run.error = "driver.exe failed";
  return run;
}

}  // namespace e2e
