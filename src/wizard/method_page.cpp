#include "wizard/method_page.h"

#include "engine/install_page.h"
#include "wizard/advanced_page.h"
#include "wizard/welcome_page.h"

namespace wizard {

TFMethode::TFMethode(frame::Context& context)
    : PageFrame(context, "TFMethode",
                {"Installationsmethode auswähen", "Installationsmethode auswähen",
                 "Bitte wählen Sie den Installationsmodus aus"}) {
  context.choices.HoldMethod(CBAdvancedInstall);
  OnCreate.Bind(this, &TFMethode::FormCreate);
  BWeiter.OnClick.Bind(this, &TFMethode::BWeiterClick);
  BZurueck.OnClick.Bind(this, &TFMethode::BZurueckClick);
}

void TFMethode::FormCreate() {
  SetUpWindow();
  LoadSidePicture(ILinks, Shared().Settings.Image2);
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

// The advanced page shows which packages are installed already: until the
// rules are evaluated, the page stays, and its buttons wait too.
void TFMethode::BWeiterClick() {
  if (CBAdvancedInstall.Checked()) {
    BWeiter.SetEnabled(false);
    BZurueck.SetEnabled(false);
    Shared().detection.WhenEvaluated([this] {
      BWeiter.SetEnabled(true);
      BZurueck.SetEnabled(true);
      GoTo(*Pages().FErweitert);
    });
  } else {
    Pages().FKopieren->StartInstallationFrom(*this);
  }
}

void TFMethode::BZurueckClick() {
  GoTo(*Pages().FWillkommen);
}

}  // namespace wizard
