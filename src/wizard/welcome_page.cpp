#include "wizard/welcome_page.h"

#include "about/about_dialog.h"
#include "wizard/license_page.h"
#include "wizard/steps.h"

namespace wizard {

TFWillkommen::TFWillkommen(frame::Context& context)
    : PageFrame(context, "TFWillkommen", {"Willkommen", "Willkommen", nullptr},
                frame::FrameKind::FixedCentred) {
  BZurueck.SetEnabled(false);
  OnCreate.Bind(this, &TFWillkommen::FormCreate);
  BWeiter.OnClick.Bind(this, &TFWillkommen::BWeiterClick);
  BInfo.OnClick.Bind(this, &TFWillkommen::BInfoClick);
}

void TFWillkommen::FormCreate() {
  SetUpWindow();
  LoadSidePicture(ILinks, Shared().Settings.Image1);
  LText.SetCaption(Shared().Settings.PreInstall);
  BWeiter.SetCaption(Word(release::kWordNext));
  BZurueck.SetCaption(Word(release::kWordBack));
  BAbbrechen.SetCaption(Word(release::kWordCancel));
  BInfo.SetCaption(Word(release::kWordAbout));
  LStatus.SetCaption(Word(release::kWordWelcomeHeading));
}

// A release with a licence text shows it first; without one the licence
// page is still kept in step with this page.
void TFWillkommen::BWeiterClick() {
  if (ShowsLicence(Shared())) {
    GoTo(*Pages().FLizenz);
    return;
  }
  frame::PlacePage(*this, *Pages().FLizenz);
  GoToMethodOrInstallation(*this);
}

// The About dialog is filled afresh at every opening; this page takes no
// input until the dialog closes.
void TFWillkommen::BInfoClick() {
  about::TFAbout& about = *Pages().FAbout;
  about.FillTexts();
  about.ShowOver(*this);
}

}  // namespace wizard
