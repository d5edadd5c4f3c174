#include "wizard/license_page.h"

#include "platform/system.h"
#include "wizard/steps.h"
#include "wizard/welcome_page.h"

namespace wizard {

TFLizenz::TFLizenz(frame::Context& context)
    : PageFrame(context, "TFLizenz",
                {"Lizenzvereinbarung", "Lizenzvereinbarung",
                 "Lesen Sie den folgenden Lizenzvertrag. Sie müssen diesem zustimmen, um die "
                 "Installation fortsetzen zu können."}) {
  BWeiter.SetEnabled(false);
  RLizenz.SetTabRank(frame::kAfterButtonRowTabRank);
  Image1.SetPicture(context.System().ProgramIcon());
  OnCreate.Bind(this, &TFLizenz::FormCreate);
  CBAnnehmen.OnClick.Bind(this, &TFLizenz::CBAnnehmenClick);
  CBAblehnen.OnClick.Bind(this, &TFLizenz::CBAblehnenClick);
  BWeiter.OnClick.Bind(this, &TFLizenz::BWeiterClick);
  BZurueck.OnClick.Bind(this, &TFLizenz::BZurueckClick);
}

void TFLizenz::FormCreate() {
  SetUpWindow();
  RLizenz.SetCaption(Shared().Settings.License);
  BWeiter.SetCaption(Word(release::kWordNext));
  BZurueck.SetCaption(Word(release::kWordBack));
  BAbbrechen.SetCaption(Word(release::kWordCancel));
  LStatus.SetCaption(Word(release::kWordLicenseHeading));
  LHinweis->SetCaption(Word(release::kWordLicenseHint));
  CBAblehnen.SetCaption(Word(release::kWordLicenseDecline));
  CBAnnehmen.SetCaption(Word(release::kWordLicenseAccept));
}

void TFLizenz::CBAnnehmenClick() {
  BWeiter.SetEnabled(true);
}

void TFLizenz::CBAblehnenClick() {
  BWeiter.SetEnabled(false);
}

void TFLizenz::BWeiterClick() {
  GoToMethodOrInstallation(*this);
}

void TFLizenz::BZurueckClick() {
  GoTo(*Pages().FWillkommen);
}

}  // namespace wizard
