#include "frame/start_options.h"

#include <algorithm>
#include <cctype>

namespace frame {

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A path's "%", as a task for the system start carries it (see
// ForTaskScheduler): no path holds a "*".
std::string PathValue(std::string text) {
  std::replace(text.begin(), text.end(), '*', '%');
  return text;
}

}  // namespace

StartOptions ParseStartOptions(const std::vector<std::string>& arguments) {
  StartOptions options;
  options.silent = !arguments.empty() && Trimmed(arguments[0]) == "/silent";
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string word = Lower(Trimmed(arguments[i]));
    if (word == "/norestart") {
      options.no_restart = true;
    } else if (word == "/?" || word == "/help") {
      options.help = true;
    } else if (word == "/resume:boot") {
      options.resume_at_boot = true;
    } else if (word.rfind("/log:", 0) == 0) {
      options.log_path = PathValue(Trimmed(arguments[i]).substr(5));
    } else if (word.rfind("/continuation:", 0) == 0) {
      options.continuation_file = PathValue(Trimmed(arguments[i]).substr(14));
    } else if (word.rfind("/release:", 0) == 0) {
      options.release_folder = PathValue(Trimmed(arguments[i]).substr(9));
    } else if (word == "/log" && i + 1 < arguments.size()) {
      options.log_path = PathValue(arguments[++i]);
    }
  }
  return options;
}

std::string QuotedArgument(const std::string& text) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : text) {
    if (c == '"') quoted.append(backslashes + 1, '\\');
    backslashes = c == '\\' ? backslashes + 1 : 0;
    quoted += c;
  }
  return quoted.append(backslashes, '\\') + "\"";
}

std::string CarriedSwitches(const StartOptions& options) {
  std::string switches;
  if (options.no_restart) switches += " /norestart";
  if (options.resume_at_boot) switches += " /resume:boot";
  if (!options.log_path.empty()) switches += " " + QuotedArgument("/log:" + options.log_path);
  if (!options.release_folder.empty()) {
    switches += " /release:" + QuotedArgument(options.release_folder);
  }
  return switches;
}

std::string ForTaskScheduler(std::string switches) {
  std::replace(switches.begin(), switches.end(), '%', '*');
  return switches;
}

std::string UsageText(const release::WordTable& words) {
  std::string switches;
  for (const release::WordNumber line :
       {release::kWordUsageSilent, release::kWordUsageNoRestart, release::kWordUsageLog,
        release::kWordUsageResumeAtBoot, release::kWordUsageRelease}) {
    switches += words[line] + "\n";
  }
  return words[release::kWordUsageCommand] + "\n\n" + switches + "\n" +
         words[release::kWordUsageExitCodes];
}

}  // namespace frame
