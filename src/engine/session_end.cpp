// The end of the session while a package installs, and the package that
// would end it at every logon.
#include "engine/install_page.h"

namespace engine {

// The run goes on after the logon with the package that was running. A
// package during which the session ends a second time ends it whenever it
// runs (it restarts the computer itself, or a watchdog does), and would do so
// after every logon: it counts as failed, and the run goes on with the
// package after it.
int TFKopieren::CountSessionEnd() {
  frame::Context& context = Shared();
  const release::PackageEntry& package = context.Packages[CurrentIndex];
  const frame::PackageFailure failure{package.Name, true, 0, Word(release::kWordSessionEndedTwice)};
  if (!context.Run().SessionEndingDuringPackage(CurrentIndex - 1, failure)) return CurrentIndex;
  context.Log().Write("Paket " + std::to_string(CurrentIndex) + " (" + package.Name +
                      "): fehlgeschlagen, die Sitzung endete zum zweiten Mal, während es lief");
  return CurrentIndex + 1;
}

}  // namespace engine
