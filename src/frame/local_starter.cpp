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

// The starter may be running still, having just started this program: a
// copy that is there already is left as it is.
bool CopyUnlessSame(platform::System& system, const std::string& from, const std::string& to) {
  const auto bytes = system.ReadFileBytes(from);
  return bytes && (system.ReadFileBytes(to) == bytes || system.DuplicateFile(from, to));
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
  if (!CopyUnlessSame(system, program, starter)) {
    context.Log().Write("Nicht kopiert: " + program + " nach " + starter);
    return {};
  }
  // Without them the starter shows its built-in German words.
  CopyUnlessSame(system, context.DataPath(kStarterWordsFileName),
                 context.StateFolder() + kStarterWordsFileName);
  return starter;
}

void RemoveLocalStarter(const Context& context) {
  platform::System& system = context.System();
  if (context.Switches.release_folder.empty()) return;
  const std::string starter = StarterPath(context);
  for (const std::string& path : {starter, context.StateFolder() + kStarterWordsFileName}) {
    if (path != system.ProgramPath() && system.FileExists(path)) system.RemoveFile(path);
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
