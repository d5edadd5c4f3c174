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

std::string UsageText() {
  return "Installer.exe [/silent] [/norestart] [/log:Datei] [/resume:boot] [/release:Ordner]\n\n"
         "/silent\tinstalliert alle Pakete ohne Fragen und startet danach neu\n"
         "/norestart\tstartet den Computer nicht neu; ein nötiger Neustart bleibt dem "
         "Administrator (Rückgabewert 3010)\n"
         "/log:Datei\tschreibt das Installationsprotokoll in diese Datei; ein fehlender "
         "Ordner wird angelegt. Sonst: mit Administratorrechten "
         "%ProgramData%\\Installer\\Installer.log, ohne %TEMP%\\Installer.log\n"
         "/resume:boot\tsetzt die Installation nach einem Neustart beim Systemstart fort, "
         "ohne auf eine Anmeldung zu warten (als LocalSystem auch ohne den Schalter)\n"
         "/release:Ordner\tdie Fortsetzung nach einem Neustart: wartet bis zu 10 Minuten auf "
         "diesen Ordner der Installation und startet dann das Programm darin\n\n"
         "Rückgabewerte: 0 installiert, 3010 Neustart nötig, 1641 Neustart begonnen, "
         "1602 abgebrochen, 1603 ein Paket ist fehlgeschlagen, 1618 ein anderes "
         "Installationsprogramm läuft.";
}

}  // namespace frame
