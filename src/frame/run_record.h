// The record of a run for deployment tools: a registry key per release that
// says which version ran last on the machine, how it ended and whether its
// continuation after a restart is still to come, so that a tool's detection
// rule can tell whether the release is installed.
#pragma once

#include <string>

namespace frame {

class Context;

// The key below HKEY_LOCAL_MACHINE (or HKEY_CURRENT_USER without
// administrator rights): "SOFTWARE\UpdatePackages\<release Name>", the name
// as the state folder writes it.
std::string RunRecordKey(const std::string& release_name);

// The values of the key.
constexpr const char* kRecordVersion = "Version";              // REG_SZ, the release's Version
constexpr const char* kRecordExitCode = "ExitCode";            // REG_DWORD, the run's exit code
constexpr const char* kRecordEnded = "Ended";                  // REG_SZ, "2026-12-08 21:03:05"
constexpr const char* kRecordFailed = "FailedPackages";        // REG_MULTI_SZ, their names
constexpr const char* kRecordPending = "ContinuationPending";  // REG_DWORD, 1 while saved

// Where the run's record is: HKEY_LOCAL_MACHINE with administrator rights,
// else HKEY_CURRENT_USER; a continued run keeps the place of its first half,
// so that one key tells the whole run.
bool RecordMachineWide(const Context& context);
// Its name, as the continuation carries it.
std::string RecordHive(const Context& context);

// Writes the record of the run as it stands, once its installation began:
// a run that installed nothing leaves an earlier run's record as it was. A
// record that can't be written is logged; the run goes on as if it had been.
void WriteRunRecord(const Context& context);

}  // namespace frame
