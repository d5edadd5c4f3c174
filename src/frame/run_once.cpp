#include "frame/run_once.h"

#include "frame/context.h"
#include "frame/continuation.h"
#include "frame/install_log.h"
#include "frame/local_starter.h"
#include "frame/start_options.h"
#include "platform/system.h"

namespace frame {

bool WriteRunOnce(const Context& context) {
  platform::System& system = context.System();
  const bool machine = release::IsVistaOrLater(context.CurrentOSIndex) && system.IsElevated();
  const std::string program = ContinuationProgram(context);
  if (program.empty()) return false;
  const std::string command = "\"" + program + "\"" + frame::CarriedSwitches(context.Switches);
  const bool written = system.WriteRunOnce(frame::kRunOnceName, command, machine);
  context.Log().Write(std::string(written ? "" : "Nicht geschrieben: ") +
                      (machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER") +
                      "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce, " +
                      frame::kRunOnceName + " = " + command);
  return written;
}

}  // namespace frame
