#include "wizard/summary_page.h"

#include "engine/install_page.h"
#include "wizard/advanced_page.h"

namespace wizard {

TFStart::TFStart(frame::Context& context)
    : PageFrame(context, "TFStart",
                {"FStart", "Zusammenfassung der Einstellungen",
                 "Bitte vergewissern Sie sich, dass Ihre Einstellungen korrekt sind. Klicken Sie "
                 "Anschließend auf \"Weiter\", um die Installation zu starten."}) {
  OnCreate.Bind(this, &TFStart::FormCreate);
  OnShow.Bind(this, &TFStart::FormShow);
  BWeiter.OnClick.Bind(this, &TFStart::BWeiterClick);
  BZurueck.OnClick.Bind(this, &TFStart::BZurueckClick);
}

void TFStart::FormCreate() {
  SetUpWindow();
  LoadSidePicture(ILinks, Shared().Settings.Image3);
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

const std::string& TFStart::YesNo(bool on) const {
  return Word(on ? 66 : 67);
}

// Recomputed at every showing from the choices.
void TFStart::FormShow() {
  const frame::Choices& choices = Shared().choices;
  const frame::RunOptions options = choices.Options();
  LAutoReboot.SetCaption(YesNo(options.AutoReboot));
  LMinimieren.SetCaption(YesNo(options.Minimize));
  LLoescheLogs.SetCaption(YesNo(options.DeleteLogs));
  LNiedrigePrioritaet.SetCaption(YesNo(options.LowPriority));
  LDateien.SetCaption(std::to_string(choices.ChosenCount()) + " " + Word(33) + " " +
                      Shared().Settings.Files);
}

void TFStart::BWeiterClick() {
  Pages().FKopieren->StartInstallationFrom(*this);
}

void TFStart::BZurueckClick() {
  GoTo(*Pages().FErweitert);
}

}  // namespace wizard
