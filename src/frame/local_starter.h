// The local starter of a continuation. The program on a share or a stick is
// no command for the next logon: a mapped drive is often not reconnected yet,
// the network may not be up, the stick may be gone, and Windows then deletes
// the run-once value with the rest of the run. So such a program copies
// itself, with the release's words, into the machine's state folder, and the
// continuation starts that copy with the release folder ("/release:"): it
// waits there for the folder and then starts the program in it.
#pragma once

#include <string>

#include "frame/start_options.h"

namespace platform {
class System;
}

namespace frame {

class Context;

// The release's words beside the local starter, which shows them while it
// waits, and its settings, whose name and version the record of a run that
// the starter gives up names.
constexpr char kStarterWordsFileName[] = "Language.ini";
constexpr char kStarterSettingsFileName[] = "Settings.ini";
// How long a run waits for a release folder that is away (a share, a
// stick): the starter at a logon, and a package's copy during the run.
constexpr unsigned kReleaseWaitLimitMs = 10 * 60 * 1000;

// Once the state folder is chosen: a program away from a local fixed disk
// whose state is kept on this machine names its own folder as the release
// folder that the continuation carries.
void NoteReleaseFolder(Context& context);

// The program the continuation starts: the program itself, or the local
// starter, copied now unless it is there already: a later hand-over of the
// run uses the copy it has, whether or not the release folder can be read
// then. Empty when it can't be copied, which the log says.
std::string ContinuationProgram(const Context& context);

// The run is over: the local starter and its words go; a starter that is
// running goes at the next restart.
void RemoveLocalStarter(const Context& context);
// The same for the starter in `folder` (ending in a backslash).
void RemoveStarterIn(platform::System& system, const std::string& folder);

// The release folder of a local starter, ending in a backslash; empty when
// this program is none (no "/release:", or one that names its own folder).
std::string StarterReleaseFolder(platform::System& system, const StartOptions& options);

// The file name of the running program ("Installer.exe").
std::string ProgramFileName(platform::System& system);

}  // namespace frame
