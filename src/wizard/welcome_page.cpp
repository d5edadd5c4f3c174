#include "wizard/welcome_page.h"

#include "wizard/license_page.h"

namespace wizard {

TFWillkommen::TFWillkommen(app::TFMain& main)
    : PageFrame(main, "TFWillkommen", {"Willkommen", "Willkommen", nullptr},
                FrameKind::FixedCentred) {
  BZurueck.SetEnabled(false);
  OnCreate.Bind(this, &TFWillkommen::FormCreate);
  BWeiter.OnClick.Bind(this, &TFWillkommen::BWeiterClick);
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

}  // namespace wizard
