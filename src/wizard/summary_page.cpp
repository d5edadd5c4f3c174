#include "wizard/summary_page.h"

#include "wizard/advanced_page.h"
#include "wizard/choices.h"

namespace wizard {

TFStart::TFStart(app::TFMain& main)
    : PageFrame(main, "TFStart",
                {"FStart", "Zusammenfassung der Einstellungen",
                 "Bitte vergewissern Sie sich, dass Ihre Einstellungen korrekt sind. Klicken Sie "
                 "Anschließend auf \"Weiter\", um die Installation zu starten."}) {
  OnCreate.Bind(this, &TFStart::FormCreate);
  OnShow.Bind(this, &TFStart::FormShow);
  BWeiter.OnClick.Bind(this, &TFStart::BWeiterClick);
  BZurueck.OnClick.Bind(this, &TFStart::BZurueckClick);
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

const std::string& TFStart::YesNo(bool on) const { return Word(on ? 66 : 67); }

// Recomputed at every showing from the advanced page's controls.
void TFStart::FormShow() {
  const TFErweitert& advanced = *Pages().FErweitert;
  LAutoReboot.SetCaption(YesNo(advanced.CBAutoReboot.Checked()));
  LMinimieren.SetCaption(YesNo(advanced.CBMinimieren.Checked()));
  LLoescheLogs.SetCaption(YesNo(advanced.CBLoescheLogs.Checked()));
  LNiedrigePrioritaet.SetCaption(YesNo(advanced.CBNiedrigePrioritaet.Checked()));
  const std::string& files = Main().Settings.Files;
  LDateien.SetCaption(std::to_string(CountChosenPackages(advanced.LVDateien, files)) + " " +
                      Word(33) + " " + files);
}

void TFStart::BWeiterClick() { StartInstallationHere(); }

void TFStart::BZurueckClick() { GoTo(*Pages().FErweitert); }

}  // namespace wizard
