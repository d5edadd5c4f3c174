// The program's command line: "/silent" as the first argument (compared as
// it stands, blanks around it aside), and the switches that may follow it.
#pragma once

#include <string>
#include <vector>

#include "release/words.h"

namespace frame {

struct StartOptions {
  bool silent = false;
  // No countdown and no restart: a restart that is needed is left to the
  // administrator, and an unattended run ends by itself.
  bool no_restart = false;
  // "/log:PATH" or "/log PATH": the install log goes there. Once the log is
  // placed at start, the absolute path of its file, wherever it is.
  std::string log_path;
  // "/release:FOLDER": this program is the local starter of a continuation,
  // and FOLDER (no trailing backslash) is the release folder whose program
  // it starts once the folder can be reached. A program on a share sets it
  // to its own folder, so that the continuation carries it.
  std::string release_folder;
  // "/?" or "/help": the usage text, nothing else.
  bool help = false;
  // "/resume:boot": after a restart the run goes on at the next system start,
  // without waiting for a logon.
  bool resume_at_boot = false;
  // "/continuation:FILE": the mark of a task for the system start, the
  // continuation file of the run it carries on. Not carried further.
  std::string continuation_file;
};

StartOptions ParseStartOptions(const std::vector<std::string>& arguments);

// An argument in double quotes that CommandLineToArgvW reads back as it
// stands: the backslashes before a quote, and those at the end before the
// closing one, doubled ("/log:C:\Logs\" would otherwise swallow the quote).
std::string QuotedArgument(const std::string& text);

// The switches a continuation carries over the restart, for the RunOnce
// command after the program's quoted path: "" or " /norestart /log:... /release:..."
std::string CarriedSwitches(const StartOptions& options);

// The Task Scheduler expands "%NAME%" in a task's arguments, and knows no
// escape for it: the paths' "%" become "*", which no path holds and which
// ParseStartOptions reads back as "%".
std::string ForTaskScheduler(std::string switches);

// The usage text of "/?", a word for each of its lines.
std::string UsageText(const release::WordTable& words);

}  // namespace frame
