#include "wizard/summary_page.h"

namespace wizard {

TFStart::TFStart(app::TFMain& main)
    : PageFrame(main, "TFStart",
                {"FStart", "Zusammenfassung der Einstellungen",
                 "Bitte vergewissern Sie sich, dass Ihre Einstellungen korrekt sind. Klicken Sie "
                 "Anschließend auf \"Weiter\", um die Installation zu starten."}) {
  OnCreate.Bind(this, &TFStart::FormCreate);
  BindCancel();
}

void TFStart::FormCreate() {
  SetUpWindow();
  LoadSidePicture(ILinks, Main().Settings.Image3);
  BWeiter.SetCaption(Word(2));
  BZurueck.SetCaption(Word(1));
  BAbbrechen.SetCaption(Word(5));
  LStatus.SetCaption(Word(34));
  LHinweis->SetCaption(Word(35));
  LAusgewaehlt.SetCaption(Word(24) + ":");
  LCAutoReboot.SetCaption(Word(25) + ":");
  LCMinimieren.SetCaption(Word(27) + ":");
  LCLoescheLogs.SetCaption(Word(29) + ":");
  LCNiedrigePrioritaet.SetCaption(Word(31) + ":");
}

}  // namespace wizard
