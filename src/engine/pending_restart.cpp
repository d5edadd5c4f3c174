#include "engine/pending_restart.h"

#include <algorithm>

#include "engine/install_page.h"
#include "platform/system.h"

namespace engine {

namespace {

struct KeyInParent {
  const char* parent;
  const char* name;
};

// Component Based Servicing's mark, and Windows Update's.
constexpr KeyInParent kPendingRestartKeys[] = {
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing", "RebootPending"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update", "RebootRequired"},
};

}  // namespace

std::string PendingRestartKey(const SubkeyLister& subkeys) {
  for (const KeyInParent& key : kPendingRestartKeys) {
    const std::vector<std::string> names = subkeys(key.parent);
    const std::string wanted = Upper(key.name);
    if (std::any_of(names.begin(), names.end(),
                    [&](const std::string& name) { return Upper(name) == wanted; })) {
      return std::string(key.parent) + "\\" + key.name;
    }
  }
  return {};
}

// Why the run installs without the restart that Windows waits for; empty
// when it restarts first, or asks whether to.
std::string TFKopieren::WhyNoRestartFirst() const {
  const frame::Context& context = Shared();
  if (context.Switches.no_restart) return "/norestart";
  if (context.Run().RestartedForPendingRestart()) return "in diesem Lauf schon dafür neu gestartet";
  if (context.Unattended() && !context.choices.Options().AutoReboot) {
    return "unbeaufsichtigt ohne automatischen Neustart";
  }
  return {};
}

// At most once per run, an unattended run with automatic restart restarts
// first and a watched one asks; the rest of the run goes on after the
// restart, as after a package that demands one.
bool TFKopieren::RestartFirstForPending() {
  frame::Context& context = Shared();
  if (!release::IsVistaOrLater(context.CurrentOSIndex)) return false;
  platform::System& system = context.System();
  const std::string key =
      PendingRestartKey([&](const std::string& parent) { return system.MachineSubkeys(parent); });
  if (key.empty()) return false;
  context.Log().Write("Windows wartet bereits auf einen Neustart: HKEY_LOCAL_MACHINE\\" + key);
  const std::string why_not = WhyNoRestartFirst();
  const bool first = why_not.empty() &&
                     (context.Unattended() ||
                      context.AskQuestion(Word(release::kWordPendingRestartQuestion),
                                          release::kWordRestartFirst, release::kWordInstallAnyway));
  if (first) {
    context.Log().Write("Der Computer wird vor dem ersten Paket neu gestartet");
    context.Run().RestartsForPendingRestart();
  } else {
    context.Log().Write("Die Installation beginnt ohne diesen Neustart (" +
                        (why_not.empty() ? "Antwort des Benutzers" : why_not) + ")");
  }
  return first;
}

}  // namespace engine
