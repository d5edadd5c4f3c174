// The UI driver (tests/e2e/programs/driver.cpp) seen from the tests: runs driver.exe under
// Wine with a list of commands and reads back one value per command.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "harness/wine_harness.h"

namespace e2e {

struct DriverRun {
  RunResult result;
  std::vector<std::pair<std::string, std::string>> values;  // command, value in order
  std::string error;  // what the failing command said; empty when every command succeeded

  bool ok() const { return error.empty() && result.exit_code == 0 && !result.timed_out; }
  // The value of the first (or every) run of `command`; Value throws when it has none.
  std::string Value(const std::string& command) const;
  std::vector<std::string> Values(const std::string& command) const;
  std::string Report() const;  // for failure messages: exit code and the driver's output
};

// A rectangle as the driver's "rect" and "bounds" give it.
struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
ScreenRect ParseRect(const std::string& text);

// Reads the driver's output: "<command> = <value>" lines and one "error: ..." line at most.
DriverRun ParseDriverOutput(const std::vector<std::string>& commands, const std::string& output);

// The driver's commands that the tests use most, one function each. Each gives the command's
// text, so a run's value is read with the same call: run.Value(TextOf("TFEnde", "LText")).
// <form> is a window class, <control> a control name (or #<id> in a standard dialog), <ms> the
// longest wait in milliseconds.
std::string WaitFor(const std::string& form, int ms);   // until <form> is visible
std::string WaitGone(const std::string& form, int ms);  // until no <form> is visible
std::string WaitEnabled(const std::string& form, const std::string& control, int ms);
std::string Click(const std::string& form, const std::string& control);
std::string Press(const std::string& form, const std::string& key);  // "tab", "shift+tab", ...
std::string CaptionOf(const std::string& form);                      // the window's title
std::string IsShown(const std::string& form);                        // 1 or 0
std::string TextOf(const std::string& form, const std::string& control);
std::string CheckedOf(const std::string& form, const std::string& control);  // 0, 1 or 2
std::string EnabledOf(const std::string& form, const std::string& control);  // 1 or 0
std::string VisibleOf(const std::string& form, const std::string& control);  // 1 or 0
std::string FocusOf(const std::string& form);  // the name of the focused control, - for none
std::string RectOf(const std::string& form);   // for ParseRect
std::string RowTextOf(const std::string& form, const std::string& list, int row);
std::string RowCheckedOf(const std::string& form, const std::string& list, int row);
std::string PositionOf(const std::string& form, const std::string& control);  // a progress bar's
std::string PostKey(const std::string& form, const std::string& key);         // "enter" or "escape"
std::string Maximize(const std::string& form);
// Windows of any session: whether one of class <form> exists (1 or 0); until none is visible.
std::string Exists(const std::string& form);
std::string Absent(const std::string& form, int ms);
// How a label's text is painted ("literal" or "prefixed"), whether it fits its label
// ("<text width> <text height> <label width> <label height> <inside the form>"), and the
// control's bounds on the screen (for ParseRect).
std::string DrawnOf(const std::string& form, const std::string& control);
std::string FitsOf(const std::string& form, const std::string& control);
std::string BoundsOf(const std::string& form, const std::string& control);

// Runs the commands ("wait TFWillkommen 10000", words separated by blanks) in one driver.exe;
// `env` adds to its environment (another machine's WINEPREFIX).
DriverRun Drive(WineSession& wine, const std::vector<std::string>& commands,
                std::chrono::milliseconds timeout = std::chrono::minutes(2),
                const std::map<std::string, std::string>& env = {});

}  // namespace e2e
