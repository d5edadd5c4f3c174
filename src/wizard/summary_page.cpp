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
  BWeiter.SetCaption(Word(release::kWordNext));
  BZurueck.SetCaption(Word(release::kWordBack));
  BAbbrechen.SetCaption(Word(release::kWordCancel));
  LStatus.SetCaption(Word(release::kWordSummaryHeading));
  LHinweis->SetCaption(Word(release::kWordSummaryHint));
  LAusgewaehlt.SetCaption(Word(release::kWordSelectedPackages) + ":");
  LCAutoReboot.SetCaption(Word(release::kWordAutoRestart) + ":");
  LCMinimieren.SetCaption(Word(release::kWordMinimize) + ":");
  LCLoescheLogs.SetCaption(Word(release::kWordDeleteLogs) + ":");
  LCNiedrigePrioritaet.SetCaption(Word(release::kWordLowPriority) + ":");
}

const std::string& TFStart::YesNo(bool on) const {
  return Word(on ? release::kWordOptionOn : release::kWordOptionOff);
}

// Recomputed at every showing from the choices.
void TFStart::FormShow() {
  const frame::Choices& choices = Shared().choices;
  const frame::RunOptions options = choices.Options();
  LAutoReboot.SetCaption(YesNo(options.AutoReboot));
  LMinimieren.SetCaption(YesNo(options.Minimize));
  LLoescheLogs.SetCaption(YesNo(options.DeleteLogs));
  LNiedrigePrioritaet.SetCaption(YesNo(options.LowPriority));
  LDateien.SetCaption(std::to_string(choices.ChosenCount()) + " " + Word(release::kWordOf) + " " +
                      Shared().Settings.Files);
}

void TFStart::BWeiterClick() {
  Pages().FKopieren->StartInstallationFrom(*this);
}

void TFStart::BZurueckClick() {
  GoTo(*Pages().FErweitert);
}

}  // namespace wizard
