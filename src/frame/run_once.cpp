#include "frame/run_once.h"

#include "frame/context.h"
#include "frame/continuation.h"
#include "frame/install_log.h"
#include "frame/local_starter.h"
#include "frame/start_options.h"
#include "platform/system.h"

namespace frame {

// The command carries its run's continuation file as its mark, so that a
// start can tell a command of a run that is over (a power cut came while the
// run ended) from one that goes on with a run.
ContinuationCommand CommandToContinue(const Context& context) {
  return {ContinuationProgram(context),
          frame::CarriedSwitches(context.Switches) + " " +
              QuotedArgument("/continuation:" + context.ContinuationPath())};
}

bool WriteRunOnce(const Context& context) {
  platform::System& system = context.System();
  const bool machine = (release::IsVistaOrLater(context.CurrentOSIndex) && system.IsElevated()) ||
                       system.IsLocalSystem();
  const ContinuationCommand continuing = CommandToContinue(context);
  if (continuing.program.empty()) return false;
  const std::string command = "\"" + continuing.program + "\"" + continuing.switches;
  const bool written = system.WriteRunOnce(frame::kRunOnceName, command, machine);
  context.Log().Write(std::string(written ? "" : "Nicht geschrieben: ") +
                      (machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER") +
                      "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce, " +
                      frame::kRunOnceName + " = " + command);
  return written;
}

}  // namespace frame
