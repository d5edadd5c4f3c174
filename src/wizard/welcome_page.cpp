#include "wizard/welcome_page.h"

#include "about/about_dialog.h"
#include "wizard/license_page.h"

namespace wizard {

namespace {

// The installer maker's address, kept in the About dialog's hidden link.
constexpr const char* kMakerWebsite = "http://installer.invalid";

}  // namespace

TFWillkommen::TFWillkommen(app::TFMain& main)
    : PageFrame(main, "TFWillkommen", {"Willkommen", "Willkommen", nullptr},
                FrameKind::FixedCentred) {
  BZurueck.SetEnabled(false);
  OnCreate.Bind(this, &TFWillkommen::FormCreate);
  BWeiter.OnClick.Bind(this, &TFWillkommen::BWeiterClick);
  BInfo.OnClick.Bind(this, &TFWillkommen::BInfoClick);
  BindCancel();
}

void TFWillkommen::FormCreate() {
  SetUpWindow();
  LoadSidePicture(ILinks, Main().Settings.Image1);
  LText.SetCaption(Main().Settings.PreInstall);
  BWeiter.SetCaption(Word(2));
  BZurueck.SetCaption(Word(1));
  BAbbrechen.SetCaption(Word(5));
  BInfo.SetCaption(Word(3));
  LStatus.SetCaption(Word(7));
}

// The licence page is kept in step with this page although the flow does
// not show it.
void TFWillkommen::BWeiterClick() {
  app::PlacePage(*this, *Pages().FLizenz);
  GoToMethodOrInstallation();
}

// The About dialog is filled afresh at every opening; this page takes no
// input until the dialog closes.
void TFWillkommen::BInfoClick() {
  const app::SetupSettings& settings = Main().Settings;
  about::TFAbout& about = *Pages().FAbout;
  SetEnabled(false);
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
  about.Show();
}

}  // namespace wizard
