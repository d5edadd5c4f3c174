#include "wizard/method_page.h"

#include "engine/install_page.h"
#include "wizard/advanced_page.h"
#include "wizard/license_page.h"
#include "wizard/steps.h"
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
  BWeiter.SetCaption(Word(release::kWordNext));
  BZurueck.SetCaption(Word(release::kWordBack));
  BAbbrechen.SetCaption(Word(release::kWordCancel));
  LStatus.SetCaption(Word(release::kWordMethodHeading));
  LHinweis->SetCaption(Word(release::kWordMethodHint));
  CBAutomaticInstall.SetCaption(Word(release::kWordAutomatic));
  CBAdvancedInstall.SetCaption(Word(release::kWordCustom));
  LAutomaticInstall.SetCaption(Word(release::kWordAutomaticExplained));
  LAdvancedInstall.SetCaption(Word(release::kWordCustomExplained));
}

// The advanced page shows which packages are installed already: until the
// rules are evaluated, the page stays and its buttons wait. They are not
// disabled for it: a disabled button loses the focus, and the radio button
// that the page then gives it to would be chosen.
void TFMethode::BWeiterClick() {
  if (waiting_for_rules_) return;
  if (!CBAdvancedInstall.Checked()) {
    Pages().FKopieren->StartInstallationFrom(*this);
    return;
  }
  waiting_for_rules_ = true;
  Shared().detection.WhenEvaluated([this] {
    waiting_for_rules_ = false;
    GoTo(*Pages().FErweitert);
  });
}

// Back goes the way Next came, through the licence page when there is one.
void TFMethode::BZurueckClick() {
  if (waiting_for_rules_) return;
  if (ShowsLicence(Shared())) {
    GoTo(*Pages().FLizenz);
  } else {
    GoTo(*Pages().FWillkommen);
  }
}

}  // namespace wizard
