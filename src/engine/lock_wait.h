// One installer at a time, for a run the user starts from the wizard: the
// lock is taken when the installation starts, not while the wizard's pages
// are open, so that a wizard left open holds up nobody.
#pragma once

namespace frame {
class PageFrame;
}

namespace engine {

class TFKopieren;

// True when the program holds the lock. Else the user chose: to wait, and
// `page` stands in place of `current` and starts the run once the lock is
// taken (cancelling gives up the wait and brings `current` back), or to stay
// on `current`, from where the next attempt asks again.
bool TakeInstallLock(TFKopieren& page, frame::PageFrame& current);

}  // namespace engine
