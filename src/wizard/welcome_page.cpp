#include "wizard/welcome_page.h"

#include "about/about_dialog.h"
#include "wizard/license_page.h"
#include "wizard/steps.h"

namespace wizard {

namespace {

// The installer maker's address, kept in the About dialog's hidden link.
constexpr const char* kMakerWebsite = "http://installer.invalid";

}  // namespace

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
  BWeiter.SetCaption(Word(2));
  BZurueck.SetCaption(Word(1));
  BAbbrechen.SetCaption(Word(5));
  BInfo.SetCaption(Word(3));
  LStatus.SetCaption(Word(7));
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
  const release::SetupSettings& settings = Shared().Settings;
  about::TFAbout& about = *Pages().FAbout;
  about.SetCaption(Word(59) + " " + settings.Name + "...");
  about.LProgrammName.SetCaption("Melvane Installer");
  about.LVersion.SetCaption(" 2.04.01e");
  about.LWebsite.SetCaption(kMakerWebsite);
  about.LRName.SetCaption(settings.Name);
  about.LRVersion.SetCaption(settings.Version);
  about.LRDeveloper.SetCaption(settings.Company);
  about.LRWebsite.SetCaption(settings.Website);
  about.TSRelease.SetCaption(Word(60));
  about.TSInstaller.SetCaption(Word(61));
  about.BRReadme.SetCaption(Word(62));
  about.BClose.SetCaption(Word(63));
  about.LRDeveloperT.SetCaption(Word(64));
  about.Label2.SetCaption(Word(117));
  about.ShowOver(*this);
}

}  // namespace wizard
