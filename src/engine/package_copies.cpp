// The installation page's side of the package cache (engine/package_cache.h):
// which copies each package's worker makes, the wait for a release folder
// that is away, and the copies' end.
#include "engine/install_page.h"
#include "frame/install_log.h"
#include "frame/local_starter.h"
#include "platform/system.h"

namespace engine {

PackageCopies TFKopieren::CopiesFor(int number) {
  const frame::Context& context = Shared();
  PackageCopies copies{cache_.Of(number, context.Packages), nullptr};
  if (const int next = NextChosen(number)) copies.ahead = cache_.Of(next, context.Packages);
  return copies;
}

int TFKopieren::NextChosen(int number) const {
  const frame::Context& context = Shared();
  for (int next = number + 1; next <= context.Packages.Count(); ++next) {
    if (context.choices.Chosen(next)) return next;
  }
  return 0;
}

void TFKopieren::EndCopy(const PackageOutcome& outcome) {
  if (!cache_.Active()) return;
  frame::Context& context = Shared();
  const std::string package =
      frame::PackageInLog(CurrentIndex, context.Packages[CurrentIndex].Name);
  const std::shared_ptr<PackageCopy> copy = cache_.Of(CurrentIndex, context.Packages);
  if (!copy->no_room.empty()) {
    context.Log().Write(package + ": nicht kopiert, " + copy->no_room +
                        "; es lief vom Ordner der Installation");
  } else if (copy->Complete()) {
    context.Log().Write(package + ": lief aus der Kopie " + copy->Package());
  }
  const bool restart = outcome.state == PackageState::RestartNeeded ||
                       outcome.state == PackageState::RestartStarted ||
                       (outcome.started && context.Packages[CurrentIndex].Restart == "1");
  if (!restart) cache_.Remove(CurrentIndex);
}

bool TFKopieren::WaitForSource(PackageOutcome& outcome) {
  frame::Context& context = Shared();
  const std::string package =
      frame::PackageInLog(CurrentIndex, context.Packages[CurrentIndex].Name);
  if (source_gone_ || waited_ms_ >= frame::kReleaseWaitLimitMs) {
    source_gone_ = true;
    outcome.reason = "Der Ordner der Installation ist nicht erreichbar (" + outcome.reason + ")";
    return false;
  }
  if (waited_ms_ == 0) {
    context.Log().Write(package + ": Kopie unterbrochen (" + outcome.reason + "); warte bis zu " +
                        std::to_string(frame::kReleaseWaitLimitMs / 60000) +
                        " Minuten auf den Ordner der Installation");
    LKopierStatus.SetCaption(release::WithDetail(Word(release::kWordWaitingForInstallFolder),
                                                 context.System().ProgramFolder()));
  }
  TQuelle.SetEnabled(true);
  return true;
}

// Tried again when the folder is back, and once more when the time is up.
void TFKopieren::TQuelleTimer() {
  frame::Context& context = Shared();
  waited_ms_ += TQuelle.Interval();
  const std::string path = context.DataPath(context.Packages[CurrentIndex].File);
  const bool back = context.System().FileExists(path);
  if (!back && !context.Run().Cancelled() && waited_ms_ < frame::kReleaseWaitLimitMs) return;
  TQuelle.SetEnabled(false);
  if (context.Run().Cancelled()) {
    InstallNext();
    return;
  }
  WriteAhead();
  StartPackage(path);
  ShowProgress(path);
}

}  // namespace engine
