#include "engine/install_page.h"

#include "frame/install_lock.h"
#include "frame/messages.h"
#include "platform/dialogs.h"
#include "platform/system.h"
#include "tray/tray_icon.h"
#include "ui/application.h"

namespace engine {

TFKopieren::TFKopieren(frame::Context& context)
    : PageFrame(context, "TFKopieren",
                {"Installation der Dateien", "Installation der Dateien",
                 "Setup installiert jetzt die ausgewählten Dateien auf Ihrem System. Dies kann "
                 "einige Minuten in Anspruch nehmen."}) {
  BZurueck.SetEnabled(false);
  BWeiter.SetEnabled(false);
  Image1.SetPicture(context.System().BannerPicture());
  Image1.NameAfter(LStatus);
  OnCreate.Bind(this, &TFKopieren::FormCreate);
  OnCloseQuery.Bind(this, &TFKopieren::FormCloseQuery);
  OnClose.Bind(this, &TFKopieren::FormClose);
  BAbbrechen.OnClick.Bind(this, &TFKopieren::BAbbrechenClick);
  BHintergrund.OnClick.Bind(this, &TFKopieren::BHintergrundClick);
  TQuelle.OnTimer.Bind(this, &TFKopieren::TQuelleTimer);
}

void TFKopieren::FormCreate() {
  SetUpWindow();
  BWeiter.SetCaption(Word(release::kWordNext));
  BZurueck.SetCaption(Word(release::kWordBack));
  BAbbrechen.SetCaption(Word(release::kWordCancel));
  BHintergrund.SetCaption(Word(release::kWordToBackground));
  LStatus.SetCaption(Word(release::kWordInstallHeading));
  LHinweis->SetCaption(Word(release::kWordInstallHint));
  LCVorgang.SetCaption(Word(release::kWordCurrentStep));
  LCDatei.SetCaption(Word(release::kWordCurrentFile));
  GBStatus.SetCaption(Word(release::kWordStatusGroup));
  GBFortschritt.SetCaption(Word(release::kWordProgressGroup));
}

ui::Rect TFKopieren::ScreenBounds() const {
  const ui::Point outer = App().OuterSize(*this);
  return {Left(), Top(), outer.x, outer.y};
}

// A flat strip at the bottom right corner of the screen, where the
// notification area lies.
ui::Rect TFKopieren::TrayRect() const {
  const ui::Point screen = App().ScreenSize();
  return {screen.x - 20, screen.y, 10, 0};
}

void TFKopieren::SendToTray() {
  if (Visible()) Hide();
  ShowTaskbarProgress();
  App().AnimateCaption(*this, ScreenBounds(), TrayRect());
  tray::TCoolTrayIcon& tray = *Shared().TrayIcon;
  if (!tray.IconVisible()) tray.SetIconVisible(true);
}

void TFKopieren::RestoreFromTray() {
  if (!Visible()) {
    App().AnimateCaption(*this, TrayRect(), ScreenBounds());
    Show();
  }
  ShowTaskbarProgress();
  tray::TCoolTrayIcon& tray = *Shared().TrayIcon;
  if (tray.IconVisible()) tray.SetIconVisible(false);
}

// The taskbar button follows the run while the page can be seen, in the
// error state from the first failed package on; nothing before and after.
void TFKopieren::ShowTaskbarProgress() {
  const frame::RunState& run = Shared().Run();
  ui::TaskbarState state = ui::TaskbarState::None;
  if (Visible() && run.HasStarted() && !run.HasEnded()) {
    state = run.Failures().empty() ? ui::TaskbarState::Normal : ui::TaskbarState::Error;
  }
  SetTaskbarProgress({state, ProgressBar.Position()});
}

void TFKopieren::BHintergrundClick() {
  SendToTray();
}

void TFKopieren::BAbbrechenClick() {
  Close();
}

// Closing never closes the page during a run: it asks once whether to
// cancel, and the run ends at its next step. While it waits for another
// installer nothing is installed yet, and the question says so.
void TFKopieren::FormCloseQuery(bool& can_close) {
  frame::Context& context = Shared();
  can_close = context.Run().Restarting();
  if (can_close) return;
  frame::PlayKindSound(context.System(), frame::MessageKind::Question);
  const release::WordNumber question = context.Lock->Waiting()
                                           ? release::kWordCancelWaitQuestion
                                           : release::kWordCancelInstallQuestion;
  // The last package may end while the question is open: a "Ja" after the
  // end of the run cancels nothing.
  if (!context.Run().Cancelled() &&
      frame::ShowQuestionDialog(context.Dialogs(), context.Words, Word(question)) &&
      context.Run().CancelConfirmed()) {
    LKopierStatus.SetCaption(Word(release::kWordWaitingAfterCancel));
  }
}

void TFKopieren::FormClose(ui::CloseAction&) {
  Shared().CloseProgram();
}

}  // namespace engine
