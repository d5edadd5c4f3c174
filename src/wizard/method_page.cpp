#include "wizard/method_page.h"

#include "wizard/advanced_page.h"
#include "wizard/welcome_page.h"

namespace wizard {

TFMethode::TFMethode(app::TFMain& main)
    : PageFrame(main, "TFMethode",
                {"Installationsmethode auswähen", "Installationsmethode auswähen",
                 "Bitte wählen Sie den Installationsmodus aus"}) {
  OnCreate.Bind(this, &TFMethode::FormCreate);
  BWeiter.OnClick.Bind(this, &TFMethode::BWeiterClick);
  BZurueck.OnClick.Bind(this, &TFMethode::BZurueckClick);
  BindCancel();
}

void TFMethode::FormCreate() {
  SetUpWindow();
  LoadSidePicture(ILinks, Main().Settings.Image2);
  BWeiter.SetCaption(Word(2));
  BZurueck.SetCaption(Word(1));
  BAbbrechen.SetCaption(Word(5));
  LStatus.SetCaption(Word(12));
  LHinweis->SetCaption(Word(13));
  CBAutomaticInstall.SetCaption(Word(14));
  CBAdvancedInstall.SetCaption(Word(16));
  LAutomaticInstall.SetCaption(Word(15));
  LAdvancedInstall.SetCaption(Word(17));
}

void TFMethode::BWeiterClick() {
  if (CBAdvancedInstall.Checked()) {
    GoTo(*Pages().FErweitert);
  } else {
    StartInstallationHere();
  }
}

void TFMethode::BZurueckClick() { GoTo(*Pages().FWillkommen); }

}  // namespace wizard
