// The continuation file that carries a run over a restart of the computer:
// its writing and its reading, so that the order of its lines is kept here
// alone.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class System;
}

namespace frame {

// The four options of a run, in the order of the file.
struct RunOptions {
  bool AutoReboot = false;
  bool Minimize = false;
  bool DeleteLogs = false;
  bool LowPriority = false;
};

// Line 1 the run's total, lines 2 to 5 the four options ("1" or "0"), then
// one zero-based list row per package still to install; CR LF after each.
std::string ContinuationText(int run_total, const RunOptions& options,
                             const std::vector<int>& rows);

// What a continuation file holds.
struct Continuation {
  int RunTotal = 0;
  RunOptions Options;
  std::vector<int> Rows;
};

// The file of a run of a release with `package_count` packages, checked
// whole before anything of it is used. An option is on only for the line
// "1". Throws ConvertError for a first line or a row that is not an
// integer; RangeError for more than 1000 rows, or a run total that is
// negative, above 1000 or smaller than the number of rows; AppError
// "Listenindex überschreitet das Maximum (n)" for a row that is not one of
// the release's packages.
Continuation ReadContinuation(const std::string& bytes, int package_count);

// A package of the run that failed or was not started.
struct PackageFailure {
  std::string name;
  bool started = false;
  std::uint32_t exit_code = 0;  // when started and it ended
  std::string reason;           // when not started, or started and never ended
};

// The failures of a run carried over a restart, in a file of their own
// beside the continuation file, so that the continuation keeps its lines: a
// line per failure, "started <TAB> exit code <TAB> name <TAB> reason".
std::string FailuresText(const std::vector<PackageFailure>& failures);
// Lines that are not such a line are passed over.
std::vector<PackageFailure> ReadFailures(const std::string& bytes);
constexpr const char* kFailuresFileSuffix = ".failed";
// The name of the computer whose run it is, in a file of its own beside the
// continuation file, so that the continuation keeps its lines: a program on a
// share is started by many machines.
constexpr const char* kComputerFileSuffix = ".computer";

// How often each package of the run was started, by its zero-based list
// row, counted before it starts: a package whose run was interrupted (the
// session ended, the power failed, the installer was ended) is started again
// by the next start, but not a third time, since one that ends the run
// whenever it runs would do so at every start. In a file of its own beside
// the continuation file: a line per package, "row <TAB> count".
using Attempts = std::map<int, int>;
std::string AttemptsText(const Attempts& attempts);
// Lines that are not such a line are passed over.
Attempts ReadAttempts(const std::string& bytes);
constexpr const char* kAttemptsFileSuffix = ".attempts";
// How often a package may start in one run.
constexpr int kMaxAttempts = 2;

// The packages of a run whose update does not apply to the system, by name,
// in a file of their own beside the continuation file: a line per package.
std::string NamesText(const std::vector<std::string>& names);
// Empty lines are passed over.
std::vector<std::string> ReadNames(const std::string& bytes);
constexpr const char* kNotApplicableFileSuffix = ".notapplicable";
// The run restarted the computer before its first package because Windows
// already waited for a restart: a file beside the continuation file, there
// or not, so that a key that stays after the restart does not restart it again.
constexpr const char* kPendingRestartFileSuffix = ".pendingrestart";

// How many logons the local starter found the release folder away at, in a
// file of its own beside the continuation file: the number alone.
constexpr const char* kLogonsFileSuffix = ".logons";
// How many packages the run found installed so far: the number alone.
constexpr const char* kFoundInstalledFileSuffix = ".found";
// Where the record for deployment tools of the run is, so that both halves
// write the one key: "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
constexpr const char* kRecordFileSuffix = ".record";

// The files beside a continuation file go with it.
void RemoveFilesBeside(platform::System& system, const std::string& continuation_path);

// What the first half of a run hands over to the rest, beside the
// continuation file.
struct RunSoFar {
  std::vector<PackageFailure> failures;
  Attempts attempts;
  std::vector<std::string> not_applicable;
  bool restarted_for_pending_restart = false;
  int found_installed = 0;
  std::optional<bool> record_machine_wide;
};

// The name of the run-once value that starts the program after the logon.
constexpr const char* kRunOnceName = "rir Eridivu";
// The continuation file's name, in the program's folder or its fallback.
constexpr const char* kContinuationFileName = "rir_eridivu";

}  // namespace frame
