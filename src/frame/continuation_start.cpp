#include "frame/continuation_start.h"

#include "frame/context.h"
#include "frame/install_log.h"
#include "frame/local_starter.h"
#include "frame/run_once.h"
#include "frame/start_options.h"
#include "platform/system.h"

namespace frame {

namespace {

// Why a run that asks for the system start goes on at the next logon all the
// same: the Task Scheduler that runs tasks at the system start came with
// Windows Vista, and only administrators may register such a task. Empty
// when nothing stands in the way.
std::string WhyNotAtSystemStart(const Context& context) {
  if (!release::IsVistaOrLater(context.CurrentOSIndex)) return "vor Windows Vista";
  if (!context.System().IsElevated()) return "ohne Administratorrechte";
  return {};
}

// Asked for by the switch, or by running as LocalSystem, as the agent of a
// deployment tool starts the program.
bool AsksForSystemStart(const Context& context) {
  return context.Switches.resume_at_boot || context.System().IsLocalSystem();
}

// The run-once value, where the system start is asked for and `why_not`.
std::string AtNextLogon(const Context& context, const std::string& why_not) {
  if (!why_not.empty()) {
    context.Log().Write("Keine Aufgabe für den Systemstart (" + why_not +
                        "): die Installation geht nach der nächsten Anmeldung weiter");
  }
  return WriteRunOnce(context) ? "" : context.Words[release::kWordRunOnceNotWritten];
}

std::string RegisterBootTask(const Context& context, const ContinuationCommand& continuing) {
  // The task's arguments stand apart from its program: no leading blank.
  const std::string switches = ForTaskScheduler(continuing.switches);
  const std::string arguments = switches.substr(1);
  const platform::Status registered =
      context.System().RegisterBootTask(kBootTaskName, continuing.program, arguments);
  context.Log().Write(std::string(registered.ok ? "" : "Nicht registriert: ") +
                      "Aufgabenplanung, " + kBootTaskName +
                      " beim Systemstart als LocalSystem = \"" + continuing.program + "\"" +
                      switches + (registered.ok ? "" : " (" + registered.reason + ")"));
  return registered.ok ? ""
                       : context.Words[release::kWordRunOnceNotWritten] + ": " + registered.reason;
}

}  // namespace

// The Task Scheduler expands "%NAME%" in the task's program too, where
// nothing can stand in for the "%".
std::string RegisterContinuationStart(const Context& context) {
  if (!AsksForSystemStart(context)) return AtNextLogon(context, {});
  const std::string why_not = WhyNotAtSystemStart(context);
  if (!why_not.empty()) return AtNextLogon(context, why_not);
  const ContinuationCommand continuing = CommandToContinue(context);
  if (continuing.program.empty()) return context.Words[release::kWordRunOnceNotWritten];
  if (continuing.program.find('%') != std::string::npos) {
    return AtNextLogon(context, "\"%\" im Pfad des Programms " + continuing.program);
  }
  return RegisterBootTask(context, continuing);
}

void RemoveContinuationStart(const Context& context) {
  platform::System& system = context.System();
  for (const bool machine : {false, true}) system.DeleteRunOnce(kRunOnceName, machine);
  // Asking the Task Scheduler takes a moment, so only a run that may have a
  // task asks: one that asks for the system start, or the rest of a run whose
  // first half may have registered one (an administrator may go on with it
  // by hand, without the switch).
  if (AsksForSystemStart(context) || context.Run().Continued()) {
    system.DeleteBootTask(kBootTaskName);
  }
}

bool EndStaleStart(const Context& context) {
  const std::string& file = context.Switches.continuation_file;
  platform::System& system = context.System();
  if (file.empty() || system.FileExists(file)) return false;
  system.DeleteBootTask(kBootTaskName);
  RemoveFilesBeside(system, file);
  if (!context.Switches.release_folder.empty()) RemoveStarterIn(system, system.ProgramFolder());
  context.Log().Write("Die Fortsetzungsdatei " + file +
                      " ist nicht mehr da: die Installation ist zu Ende, nichts startet sie "
                      "wieder (Aufgabenplanung, " +
                      kBootTaskName + " entfernt)");
  return true;
}

}  // namespace frame
