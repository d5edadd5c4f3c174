#include "finish/finish_page.h"

namespace finish {

TFEnde::TFEnde(app::TFMain& main)
    : PageFrame(main, "TFEnde",
                {"FEnde", "Installation beendet", "Die Installation wurde erfolgreich beendet."}) {
  BZurueck.SetEnabled(false);
  BWeiter.SetEnabled(false);
  BAbbrechen.SetCaption("Beenden");
  OnCreate.Bind(this, &TFEnde::FormCreate);
}

void TFEnde::FormCreate() {
  SetUpWindow();
  LoadSidePicture(ILinks, Main().Settings.Image4);
  BWeiter.SetCaption(Word(2));
  BZurueck.SetCaption(Word(1));
  BAbbrechen.SetCaption(Word(6));
  LStatus.SetCaption(Word(43));
  CBNichtNeustarten.SetCaption(Word(69));
}

}  // namespace finish
