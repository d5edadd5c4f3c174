// The definition of the task that goes on with a run at the system start,
// in the Task Scheduler's XML (schema version 1.2, Windows Vista and later).
#pragma once

#include <string>

namespace win32 {

// A task started at each system start, as LocalSystem with the highest
// rights, that runs `program` with `arguments` (none when empty). It runs
// on batteries too and without a time limit (packages may take long), at
// normal priority (a task's default runs it below normal), and once at a
// time. UTF-8; its declaration names UTF-16, the form the Task Scheduler
// is handed it in.
std::string BootTaskXml(const std::string& program, const std::string& arguments);

}  // namespace win32
