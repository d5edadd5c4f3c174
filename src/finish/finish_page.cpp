#include "finish/finish_page.h"

#include "finish/auto_reboot.h"
#include "finish/restart.h"
#include "ui/application.h"

namespace finish {

TFEnde::TFEnde(frame::Context& context)
    : PageFrame(context, "TFEnde",
                {"FEnde", "Installation beendet", "Die Installation wurde erfolgreich beendet."}) {
  BZurueck.SetEnabled(false);
  BWeiter.SetEnabled(false);
  BAbbrechen.SetCaption("Beenden");
  OnCreate.Bind(this, &TFEnde::FormCreate);
  OnShow.Bind(this, &TFEnde::FormShow);
  OnCloseQuery.Unbind();  // the last page closes without asking
  OnClose.Bind(this, &TFEnde::FormClose);
  BAbbrechen.OnClick.Bind(this, &TFEnde::BAbbrechenClick);
}

void TFEnde::FormCreate() {
  SetUpWindow();
  LoadSidePicture(ILinks, Shared().Settings.Image4);
  BWeiter.SetCaption(Word(release::kWordNext));
  BZurueck.SetCaption(Word(release::kWordBack));
  BAbbrechen.SetCaption(Word(release::kWordFinish));
  LStatus.SetCaption(Word(release::kWordFinishHeading));
  CBNichtNeustarten.SetCaption(Word(release::kWordDontRestartNow));
}

// "/norestart" restarts nothing, nor does a run that installed nothing (a
// release pushed again to machines that have it). The countdown comes only
// after a run that got to its end; wherever else an unattended run would
// wait here for a person, it ends by itself.
void TFEnde::FormShow() {
  const bool completed = ShowOutcome();
  const bool no_restart = Shared().Switches.no_restart || Shared().Run().NothingInstalled();
  if (no_restart) {
    CBNichtNeustarten.SetChecked(true);
    CBNichtNeustarten.SetEnabled(false);
  }
  if (!completed || no_restart) {
    Shared().EndIfUnattended(LHinweis->Caption());
  } else if (Shared().choices.Options().AutoReboot) {
    Pages().FAutoReboot->Show();
  }
}

// The texts of the outcome; true when the run got to its end.
bool TFEnde::ShowOutcome() {
  const frame::RunState& run = Shared().Run();
  if (run.Cancelled()) {
    LHinweis->SetCaption(Word(release::kWordCancelled));
    CBNichtNeustarten.SetEnabled(false);
    LText.SetCaption(Word(release::kWordCancelled));
    return false;
  }
  App().FlashApplicationWindow();
  if (!run.HandOverFailure().empty()) {
    LHinweis->SetCaption(Word(release::kWordHandOverFailed));
    LText.SetCaption(Word(release::kWordHandOverFailed) + ": " + run.HandOverFailure() + "." +
                     (run.Failures().empty() ? "" : "\r\r" + FailureText()));
    return false;
  }
  if (run.WaitsForRestart()) {
    LHinweis->SetCaption(Word(release::kWordContinuesAfterRestart));
    LText.SetCaption(Word(release::kWordContinuesAfterRestart) + "\r\r" +
                     Word(release::kWordAfterPostInstall));
    return false;
  }
  const std::string after_failures = NotApplicableText() + FoundInstalledText() +
                                     Shared().Settings.PostInstall + "\r\r" +
                                     Word(release::kWordAfterPostInstall);
  if (!run.Failures().empty()) {
    LHinweis->SetCaption(Word(release::kWordCompletedWithFailures));
    LText.SetCaption(FailureText() + "\r" + after_failures);
  } else {
    LHinweis->SetCaption(Word(release::kWordCompleted));
    LText.SetCaption(after_failures);
  }
  return true;
}

void TFEnde::BAbbrechenClick() {
  Close();
}

// After a completed run the default is the restart; a refused request
// leaves the page on the screen so the program never runs on unseen.
void TFEnde::FormClose(ui::CloseAction& action) {
  if (!CBNichtNeustarten.Checked() && CBNichtNeustarten.Enabled()) {
    closed_for_restart_ = RestartSystem(Shared());
    if (!closed_for_restart_) action = ui::CloseAction::None;
  } else {
    Shared().CloseProgram();
  }
}

// A line per package, "- name (what became of it)", at most kMaxListLines.
std::string TFEnde::PackageList(const std::vector<std::string>& names,
                                const std::function<std::string(std::size_t)>& outcome) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i == kMaxListLines) return text + "…\r";
    text += "- " + names[i] + " (" + outcome(i) + ")\r";
  }
  return text;
}

// Word 78, then a line per failed package.
std::string TFEnde::FailureText() const {
  const auto& failures = Shared().Run().Failures();
  std::vector<std::string> names;
  for (const frame::PackageFailure& failure : failures) names.push_back(failure.name);
  return Word(release::kWordCompletedWithFailures) + "\r" +
         PackageList(names, [&](std::size_t i) { return FailureReason(failures[i]); });
}

// Apart from the failures: a line per package whose update does not apply
// to this system, and an empty line after them.
std::string TFEnde::NotApplicableText() const {
  const auto& names = Shared().Run().NotApplicable();
  if (names.empty()) return {};
  return PackageList(names, [&](std::size_t) { return Word(release::kWordNotApplicable); }) + "\r";
}

// How many packages of the run were there already, when any were.
std::string TFEnde::FoundInstalledText() const {
  const int found = Shared().Run().FoundInstalled();
  if (found == 0) return {};
  return std::to_string(found) + " " + Word(release::kWordAlreadyInstalled) + "\r\r";
}

// A started package failed by its exit code, unless it never ended; one
// that did not start says why when it knows.
std::string TFEnde::FailureReason(const frame::PackageFailure& failure) const {
  if (!failure.started)
    return Word(release::kWordNotStarted) + (failure.reason.empty() ? "" : ": " + failure.reason);
  if (!failure.reason.empty()) return failure.reason;
  return Word(release::kWordExitCode) + " " + std::to_string(failure.exit_code);
}

// Another program refused the end of the session that this page's restart
// (or the countdown's) began: the page comes back, the countdown goes, and
// an unattended run ends.
void TFEnde::SessionEndCancelled() {
  if (Pages().FAutoReboot->Visible()) Pages().FAutoReboot->Close();
  if (closed_for_restart_) {
    closed_for_restart_ = false;
    Show();
  }
  if (Visible())
    Shared().EndIfUnattended(Word(release::kWordRestartFailed) + ": " +
                             Word(release::kWordRestartVetoed));
}

}  // namespace finish
