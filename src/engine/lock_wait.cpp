#include "engine/lock_wait.h"

#include "engine/install_page.h"
#include "frame/install_lock.h"

namespace engine {

namespace {

// The page's cancel question ends the wait at the next tick: nothing was
// installed, so the user is back where the installation was started.
void WaitOnPage(TFKopieren& page, frame::PageFrame& current) {
  frame::Context& context = page.Shared();
  page.LKopierStatus.SetCaption(context.Words[release::kWordWaitingForTheOther]);
  page.LKopierDatei.SetCaption("");
  current.GoTo(page);
  context.Lock->Wait([&context] { return context.Run().Cancelled(); },
                     [&page, &current](bool taken) {
                       if (taken) {
                         page.StartInstallation();
                         return;
                       }
                       // The cancel ended the wait, not the wizard: the
                       // installation, when it starts, begins uncancelled.
                       page.Shared().Run().NoLongerWaiting();
                       page.RestoreFromTray();  // where the user may have sent it meanwhile
                       page.GoTo(current);
                     });
}

}  // namespace

bool TakeInstallLock(TFKopieren& page, frame::PageFrame& current) {
  frame::Context& context = page.Shared();
  if (context.Lock->Take()) return true;
  if (context.AskQuestion(context.Words[release::kWordAnotherInstallerRunsQuestion]))
    WaitOnPage(page, current);
  return false;
}

}  // namespace engine
