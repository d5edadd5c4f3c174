// What starts the rest of a run after the restart. Normally the run-once
// value, at the next logon. A server or a kiosk that a deployment tool
// restarts may see no logon for days: a run as LocalSystem, or one started
// with "/resume:boot", goes on at the next system start instead, through a
// task of the Task Scheduler that runs the program as LocalSystem.
#pragma once

#include <string>

#include "frame/continuation.h"

namespace frame {

class Context;

// The task carries the name of the run-once value it stands in for.
constexpr const char* kBootTaskName = kRunOnceName;

// Registers what starts the continuation, replacing what an earlier
// hand-over registered. Returns why it could not be registered (the
// hand-over fails), or nothing. What was registered is logged.
std::string RegisterContinuationStart(const Context& context);

// The run is over: neither the run-once value nor the task starts it again.
void RemoveContinuationStart(const Context& context);

// Started by a run-once value or a task for the system start whose run's
// continuation file is gone (the power failed while the run ended, or the
// folder was deleted): the task goes, and what was left beside the file, and
// the log says why; true then, and the start has nothing to do.
bool EndStaleStart(const Context& context);

}  // namespace frame
