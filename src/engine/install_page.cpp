#include "engine/install_page.h"

#include "platform/system.h"

namespace engine {

TFKopieren::TFKopieren(app::TFMain& main)
    : PageFrame(main, "TFKopieren",
                {"Installation der Dateien", "Installation der Dateien",
                 "Setup installiert jetzt die ausgewählten Dateien auf Ihrem System. Dies kann "
                 "einige Minuten in Anspruch nehmen."}) {
  BZurueck.SetEnabled(false);
  BWeiter.SetEnabled(false);
  Image1.SetPicture(main.System().BannerPicture());
  OnCreate.Bind(this, &TFKopieren::FormCreate);
}

void TFKopieren::FormCreate() {
  SetUpWindow();
  BWeiter.SetCaption(Word(2));
  BZurueck.SetCaption(Word(1));
  BAbbrechen.SetCaption(Word(5));
  BHintergrund.SetCaption(Word(4));
  LStatus.SetCaption(Word(36));
  LHinweis->SetCaption(Word(37));
  LCVorgang.SetCaption(Word(38));
  LCDatei.SetCaption(Word(39));
  GBStatus.SetCaption(Word(41));
  GBFortschritt.SetCaption(Word(42));
}

void TFKopieren::StartInstallation() { Show(); }

void TFKopieren::RestoreFromTray() {
  if (!Visible()) Show();
  tray::TCoolTrayIcon& tray = Main().TrayIcon;
  if (tray.IconVisible()) tray.SetIconVisible(false);
}

}  // namespace engine
