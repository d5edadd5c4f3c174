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
  BWeiter.SetCaption(Word(2));
  BZurueck.SetCaption(Word(1));
  BAbbrechen.SetCaption(Word(6));
  LStatus.SetCaption(Word(43));
  CBNichtNeustarten.SetCaption(Word(69));
}

void TFEnde::FormShow() {
  if (Shared().CancelRequested) {
    LHinweis->SetCaption(Word(45));
    CBNichtNeustarten.SetEnabled(false);
    LText.SetCaption(Word(45));
    return;
  }
  App().FlashApplicationWindow();
  LHinweis->SetCaption(Word(44));
  LText.SetCaption(Shared().Settings.PostInstall + "\r\r" + Word(46));
  if (Shared().choices.Options().AutoReboot) Pages().FAutoReboot->Show();
}

void TFEnde::BAbbrechenClick() {
  Close();
}

// After a completed run the default is the restart; a refused request
// leaves the page on the screen so the program never runs on unseen.
void TFEnde::FormClose(ui::CloseAction& action) {
  if (!CBNichtNeustarten.Checked() && CBNichtNeustarten.Enabled()) {
    if (!RestartSystem(Shared())) action = ui::CloseAction::None;
  } else {
    Shared().CloseProgram();
  }
}

}  // namespace finish
