#include "frame/local_starter.h"

#include "frame/context.h"
#include "frame/install_log.h"
#include "frame/state_folder.h"
#include "platform/system.h"

namespace frame {

namespace {

std::string StarterPath(const Context& context) {
  return context.StateFolder() + ProgramFileName(context.System());
}

// A copy that is there already stays: the starter may be running still,
// having just started this program, and the release folder may be away.
bool CopyUnlessThere(platform::System& system, const std::string& from, const std::string& to) {
  return system.FileExists(to) || system.DuplicateFile(from, to);
}

}  // namespace

void NoteReleaseFolder(Context& context) {
  platform::System& system = context.System();
  const std::string program = system.ProgramFolder();
  if (ProgramOnLocalDisk(system) || context.StateFolder() == program) return;
  context.Switches.release_folder = program.substr(0, program.find_last_not_of('\\') + 1);
}

std::string ContinuationProgram(const Context& context) {
  platform::System& system = context.System();
  const std::string program = system.ProgramPath();
  if (context.Switches.release_folder.empty()) return program;
  const std::string starter = StarterPath(context);
  if (starter == program) return program;
  if (!CopyUnlessThere(system, program, starter)) {
    context.Log().Write("Nicht kopiert: " + program + " nach " + starter);
    return {};
  }
  // Without them the starter shows its built-in German words.
  for (const char* name : {kStarterWordsFileName, kStarterSettingsFileName}) {
    CopyUnlessThere(system, context.DataPath(name), context.StateFolder() + name);
  }
  return starter;
}

void RemoveLocalStarter(const Context& context) {
  if (context.Switches.release_folder.empty()) return;
  RemoveStarterIn(context.System(), context.StateFolder());
}

void RemoveStarterIn(platform::System& system, const std::string& folder) {
  for (const std::string& name : {ProgramFileName(system), std::string(kStarterWordsFileName),
                                  std::string(kStarterSettingsFileName)}) {
    const std::string path = folder + name;
    if (path == system.ProgramPath()) {
      system.RemoveAtRestart(path);
    } else if (system.FileExists(path)) {
      system.RemoveFile(path);
    }
  }
}

std::string StarterReleaseFolder(platform::System& system, const StartOptions& options) {
  std::string folder = options.release_folder;
  if (folder.empty()) return {};
  if (folder.back() != '\\') folder += '\\';
  return folder == system.ProgramFolder() ? std::string() : folder;
}

std::string ProgramFileName(platform::System& system) {
  const std::string path = system.ProgramPath();
  return path.substr(path.find_last_of('\\') + 1);
}

}  // namespace frame
