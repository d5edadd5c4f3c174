// What interrupts a run: the end of the session while a package installs,
// a power cut, a forced restart, the installer ended. The run is on disk
// before each package starts, so any of them goes on with that package at
// the next start; one interrupted twice does not start a third time.
#include "engine/install_page.h"
#include "frame/continuation_start.h"
#include "frame/run_record.h"

namespace engine {

// What starts the run again is registered before its first file: a start
// that finds no file has nothing to go on with and ends.
void TFKopieren::WriteAhead() {
  frame::Context& context = Shared();
  context.Run().AttemptStarting(CurrentIndex - 1);
  if (!start_registered_ && !context.Run().Continued()) {
    frame::RegisterContinuationStart(context);  // a failure is logged; the hand-over tries again
    start_registered_ = true;
  }
  if (!WriteContinuationFile(CurrentIndex)) {
    context.Log().Write("Nicht geschrieben: " + context.ContinuationPath() +
                        "; eine Unterbrechung verlöre den Rest der Installation");
    return;
  }
  if (!record_written_) frame::WriteRunRecord(context);
  record_written_ = true;
}

// A package that ends the run whenever it runs (it restarts the computer
// itself, a watchdog resets the machine, it ends the installer) would do so
// at every start: the run goes on without it.
bool TFKopieren::FailInterruptedTwice() {
  frame::Context& context = Shared();
  if (context.Run().AttemptsOf(CurrentIndex - 1) < frame::kMaxAttempts) return false;
  const release::PackageEntry& package = context.Packages[CurrentIndex];
  context.Run().PackageFailed({package.Name, true, 0, Word(release::kWordInterruptedTwice)});
  context.Log().Write(frame::PackageInLog(CurrentIndex, package.Name) +
                      ": fehlgeschlagen, die Installation wurde zweimal unterbrochen, während es "
                      "lief; es startet kein drittes Mal");
  return true;
}

// Nothing may hold up the end of the session now. The continuation written
// before the package stands; written once more, it is in place, or none
// is left that a later start would take for this run's.
void TFKopieren::SaveForSessionEnd() {
  frame::Context& context = Shared();
  context.Run().SessionEnding();
  if (WriteContinuationFile(CurrentIndex) && frame::RegisterContinuationStart(context).empty()) {
    context.Run().SavedForSessionEnd();
    frame::WriteRunRecord(context);
    context.Log().Write(
        "Sitzung endet während einer Installation: die Installation geht nach der "
        "nächsten Anmeldung weiter");
    return;
  }
  context.Run().RunLost();
  EndContinuation();
  start_registered_ = record_written_ = false;  // a veto lets the run go on: it registers anew
  context.Log().Write(
      "Sitzung endet während einer Installation: " + Word(release::kWordHandOverFailed) +
      ", der Rest der Installation geht verloren");
}

}  // namespace engine
