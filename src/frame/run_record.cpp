#include "frame/run_record.h"

#include "frame/context.h"
#include "frame/state_folder.h"
#include "platform/system.h"

namespace frame {

namespace {

std::vector<std::string> FailedNames(const RunState& run) {
  std::vector<std::string> names;
  for (const PackageFailure& failure : run.Failures()) names.push_back(failure.name);
  return names;
}

}  // namespace

std::string RunRecordKey(const std::string& release_name) {
  return "SOFTWARE\\UpdatePackages\\" + ReleaseFolderName(release_name);
}

bool RecordMachineWide(const Context& context) {
  return context.Run().RecordMachineWide().value_or(context.System().IsElevated());
}

std::string RecordHive(const Context& context) {
  return RecordMachineWide(context) ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// The continuation is written before the first package starts and goes when
// the run is over: pending in between, whether or not a restart came, and
// after the end while it waits for a restart.
void WriteRunRecord(const Context& context) {
  const RunState& run = context.Run();
  if (!run.HasStarted()) return;
  platform::System& system = context.System();
  const bool machine = RecordMachineWide(context);
  const std::string key = RunRecordKey(context.Settings.Name);
  const std::string where = RecordHive(context) + "\\" + key;
  const auto exit_code = static_cast<std::uint32_t>(run.ExitCode());
  const bool going_on = !run.HasEnded() && system.FileExists(context.ContinuationPath());
  const std::uint32_t pending = run.Saved() || going_on ? 1 : 0;
  const platform::Status written =
      system.WriteRegistryValues(machine, key,
                                 {{kRecordVersion, context.Settings.Version},
                                  {kRecordExitCode, exit_code},
                                  {kRecordEnded, system.LocalTimeText()},
                                  {kRecordFailed, FailedNames(run)},
                                  {kRecordPending, pending}});
  if (!written.ok) {
    context.Log().Write("Nicht geschrieben: " + where + " (" + written.reason + ")");
    return;
  }
  context.Log().Write(where + ": " + kRecordExitCode + " = " + std::to_string(exit_code) + ", " +
                      kRecordPending + " = " + std::to_string(pending));
}

}  // namespace frame
