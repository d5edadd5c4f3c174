// The local starter's road (frame/local_starter.h): a copy of the program in
// the machine's state folder, started by the continuation with "/release:".
// It loads no release: it waits for the release folder, up to ten minutes,
// and starts the program there with the switches the continuation carries.
// The message loop keeps running meanwhile: a timer of the hidden main form
// asks again each second. A person who can see the screen sees the waiting
// window with its cancel button; a run in a window station nobody sees (a
// task at system start) writes the log alone. When the folder does not come
// back, the state stays, the continuation is registered again for the next
// logon, and the run ends with 3010; at the third logon that waited in vain
// the run is given up for good: its state and the starter go, and it ends
// with 1603.
#pragma once

#include <string>

#include "frame/context.h"
#include "frame/local_starter.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/timer.h"

namespace app {

// The waiting window.
class TFWarten : public ui::Form {
 public:
  explicit TFWarten(ui::Application& app);

  // clang-format off
  ui::Label LWarten{*this, "LWarten", {16, 16, 345, 42}, "", ui::kWordWrap};
  ui::Button BAbbrechen{*this, "BAbbrechen", {143, 68, 91, 25}, ""};
  // clang-format on
};

class ReleaseStarter {
 public:
  static constexpr unsigned kPollMs = 1000;
  static constexpr unsigned kWaitLimitMs = frame::kReleaseWaitLimitMs;
  static constexpr int kLogonLimit = 3;

  ReleaseStarter(ui::Form& owner, frame::Context& context);

  // Takes this start when the program is a local starter: true then.
  bool Start();
  bool Active() const { return !release_.empty(); }
  bool Waiting() const { return TRelease.Enabled(); }
  // The session ends during the wait: the run stays for the next logon.
  void SessionEnds();
  TFWarten* WaitForm() const { return form_; }

  ui::Timer TRelease;

 private:
  void TReleaseTimer();
  void BAbbrechenClick();
  void ShowWaitForm();
  // A word with the release folder for its "%s".
  std::string WithFolder(release::WordNumber word) const;
  std::string Program() const;
  void StartProgram();
  void StopWaiting();
  void GiveUp(const std::string& why);
  void KeepForNextLogon(const std::string& why);
  int CountLogon();
  void GiveUpTheRun();

  frame::Context& context_;
  std::string release_;
  unsigned waited_ms_ = 0;
  int logons_ = 0;  // that found the folder away, this one included
  TFWarten* form_ = nullptr;
};

}  // namespace app
