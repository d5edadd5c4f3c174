#include "app/release_starter.h"

#include "frame/continuation_start.h"
#include "frame/local_starter.h"
#include "frame/unseen_run.h"
#include "platform/system.h"
#include "release/ini_file.h"
#include "release/integer_text.h"
#include "release/settings.h"
#include "ui/application.h"

namespace app {

namespace {

// No title-bar buttons: the one way out is the button.
ui::FormStyle WaitStyle() {
  ui::FormStyle style = ui::DialogStyle(false);
  style.system_menu = false;
  return style;
}

}  // namespace

TFWarten::TFWarten(ui::Application& app)
    : ui::Form(app, "TFWarten", {300, 300, 377, 105}, app.Title(), WaitStyle()) {}

ReleaseStarter::ReleaseStarter(ui::Form& owner, frame::Context& context)
    : TRelease(owner, "TRelease", kPollMs), context_(context) {
  TRelease.OnTimer.Bind(this, &ReleaseStarter::TReleaseTimer);
}

// Windows deleted the run-once value when it started the starter: until the
// run goes on, a kill or the end of the session must not lose it.
bool ReleaseStarter::Start() {
  platform::System& system = context_.System();
  release_ = frame::StarterReleaseFolder(system, context_.Switches);
  if (release_.empty()) return false;
  context_.SetStateFolder(system.ProgramFolder());
  context_.Words = release::LoadWords(
      release::IniFile::Load(system, system.ProgramFolder() + frame::kStarterWordsFileName));
  context_.Settings = release::LoadSettings(
      release::IniFile::Load(system, system.ProgramFolder() + frame::kStarterSettingsFileName));
  if (system.FileExists(context_.ContinuationPath())) frame::RegisterContinuationStart(context_);
  if (system.FileExists(Program())) {
    StartProgram();
    return true;
  }
  logons_ = CountLogon();
  context_.Log().Write("Der Ordner der Installation " + release_ +
                       " ist nicht erreichbar; warte bis zu " +
                       std::to_string(kWaitLimitMs / 60000) + " Minuten auf ihn (Anmeldung " +
                       std::to_string(logons_) + " von " + std::to_string(kLogonLimit) + ")");
  if (!frame::NobodySeesTheScreen(system, context_.CurrentOSIndex)) ShowWaitForm();
  TRelease.SetEnabled(true);
  return true;
}

void ReleaseStarter::ShowWaitForm() {
  form_ = &context_.App().CreateForm<TFWarten>(context_.App());
  form_->LWarten.SetCaption(WithFolder(release::kWordWaitingForInstallFolder));
  form_->BAbbrechen.SetCaption(context_.Words[release::kWordCancelWaiting]);
  form_->BAbbrechen.OnClick.Bind(this, &ReleaseStarter::BAbbrechenClick);
  form_->Show();
}

void ReleaseStarter::TReleaseTimer() {
  waited_ms_ += TRelease.Interval();
  if (context_.System().FileExists(Program())) {
    StopWaiting();
    StartProgram();
  } else if (waited_ms_ >= kWaitLimitMs) {
    GiveUp("nach " + std::to_string(kWaitLimitMs / 60000) + " Minuten");
  }
}

void ReleaseStarter::BAbbrechenClick() {
  GiveUp("Warten abgebrochen");
}

std::string ReleaseStarter::WithFolder(release::WordNumber word) const {
  return release::WithDetail(context_.Words[word], release_);
}

std::string ReleaseStarter::Program() const {
  return release_ + frame::ProgramFileName(context_.System());
}

// The program there takes the run over: it finds the state on this machine
// and registers the continuation again itself.
void ReleaseStarter::StartProgram() {
  frame::StartOptions carried = context_.Switches;
  carried.release_folder.clear();
  const std::string command = "\"" + Program() + "\"" + frame::CarriedSwitches(carried);
  context_.Log().Write("Der Ordner der Installation ist erreichbar; Start: " + command);
  context_.System().StartProgram(Program(), command);
  context_.CloseProgram();
}

void ReleaseStarter::StopWaiting() {
  TRelease.SetEnabled(false);
  if (form_) form_->Hide();
}

void ReleaseStarter::GiveUp(const std::string& why) {
  StopWaiting();
  if (logons_ >= kLogonLimit && context_.System().FileExists(context_.ContinuationPath())) {
    context_.Log().Write("Der Ordner der Installation " + release_ + " ist nicht erreichbar (" +
                         why + ")");
    GiveUpTheRun();
  } else {
    KeepForNextLogon(why);
  }
  context_.CloseProgram();
}

// The count goes with the continuation's other files, whoever ends the run.
int ReleaseStarter::CountLogon() {
  platform::System& system = context_.System();
  const auto before = system.ReadFileBytes(context_.LogonsPath());
  const int count = (before ? release::StrToIntDef(*before, 0) : 0) + 1;
  system.WriteHiddenFile(context_.LogonsPath(), std::to_string(count));
  return count;
}

// A release withdrawn, a server renamed: the starter would otherwise wait at
// every logon for ever, and the record would say the run is pending.
void ReleaseStarter::GiveUpTheRun() {
  const std::string text = WithFolder(release::kWordReleaseFolderGone);
  context_.Run().GivenUp(text);
  context_.Log().Write("Die Installation wird aufgegeben: " + text);
  frame::RemoveContinuationStart(context_);
  context_.System().RemoveFile(context_.ContinuationPath());
  context_.RemoveFilesBesideContinuation();
  frame::RemoveLocalStarter(context_);
  context_.ShowMessageDialog(text, frame::MessageKind::Error);
}

void ReleaseStarter::SessionEnds() {
  StopWaiting();
  KeepForNextLogon("die Sitzung endet");
}

void ReleaseStarter::KeepForNextLogon(const std::string& why) {
  context_.Log().Write("Der Ordner der Installation " + release_ + " ist nicht erreichbar (" + why +
                       ")");
  if (!context_.System().FileExists(context_.ContinuationPath())) return;
  if (frame::RegisterContinuationStart(context_).empty()) {
    context_.Run().HandOverSaved();
    context_.ShowMessageDialog(context_.Words[release::kWordStaysForNextLogon],
                               frame::MessageKind::Information);
  } else {
    context_.Run().HandOverFailed(context_.Words[release::kWordRunOnceNotWritten]);
  }
}

}  // namespace app
