// The probe package (tests/e2e/programs/probe.cpp) seen from the tests: placing copies of it
// with their side files, and reading back the journal of their runs.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

// One run of a probe: the line of its start, and the line of its end if it recorded one.
struct ProbeRun {
  int sequence = 0;
  std::string file_name;     // "KB0001.exe"
  std::string command_line;  // as GetCommandLineW gave it
  std::string working_dir;   // as GetCurrentDirectoryW gave it
  std::string show_window;   // wShowWindow in decimal, or "-" when none was passed
  // Where in the journal (1 = its first line) the run recorded its start and its end; 0: no end
  // (the probe was not asked to record it, has not ended yet, or was killed).
  int start_line = 0;
  int end_line = 0;
};

// The runs in the order of their starts. Throws std::runtime_error naming the line when one is
// not a probe record, or is the end of no run before it.
std::vector<ProbeRun> ParseProbeJournal(const std::string& text);
// A journal that does not exist yet has no runs.
std::vector<ProbeRun> ReadProbeJournal(const fs::path& journal);

// What a copy of the probe does; unset keys are left out of its side file.
struct ProbeSettings {
  std::optional<std::string> journal;  // Windows path
  std::optional<unsigned> sleep_ms;
  std::optional<long long> exit_code;
  std::optional<std::string> log_file;  // a file name in the Windows folder
  std::optional<bool> record_end;       // a second journal line as the run's last act
  std::optional<bool> end_session;      // asks for a restart after the wait, as its last act
  std::optional<bool> change_self;      // exits with 9905 when its own file could be changed
  std::optional<bool> kill_installer;   // ends its installer without a word after the wait
};

// Copies `probe_exe` to `folder`/`exe_name` and writes its side file; returns the copy.
fs::path PlaceProbe(const fs::path& probe_exe, const fs::path& folder, const std::string& exe_name,
                    const ProbeSettings& settings = {});
// Writes (or replaces) the side file beside an exe: "KB1.exe" -> "KB1.probe".
void WriteProbeSettings(const fs::path& exe, const ProbeSettings& settings);

}  // namespace e2e
