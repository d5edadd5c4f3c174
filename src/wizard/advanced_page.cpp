#include "wizard/advanced_page.h"

#include "app/integer_text.h"
#include "wizard/choices.h"
#include "wizard/details_dialog.h"
#include "wizard/method_page.h"
#include "wizard/summary_page.h"

namespace wizard {

TFErweitert::TFErweitert(app::TFMain& main)
    : PageFrame(main, "TFErweitert",
                {"Erweiterte Optionen", "Erweiterte Optionen",
                 "Bitte wählen Sie die Dateien aus, die Setup installieren soll und stellen Sie "
                 "ein, wie Setup sich dabei verhalten soll."},
                FrameKind::Sizeable) {
  LVDateien.AddColumn("Bezeichnung", 380);
  LVDateien.SetContextMenu(&PopupMenu);
  OnCreate.Bind(this, &TFErweitert::FormCreate);
  LVDateien.OnClick.Bind(this, &TFErweitert::LVDateienClick);
  LVDateien.OnDblClick.Bind(this, &TFErweitert::MIDetailsClick);
  MIDetails.OnClick.Bind(this, &TFErweitert::MIDetailsClick);
  MIAuswahl.OnClick.Bind(this, &TFErweitert::MIAuswahlClick);
  Button1.OnClick.Bind(this, &TFErweitert::Button1Click);
  Button2.OnClick.Bind(this, &TFErweitert::Button2Click);
  BWeiter.OnClick.Bind(this, &TFErweitert::BWeiterClick);
  BZurueck.OnClick.Bind(this, &TFErweitert::BZurueckClick);
  BindCancel();
}

void TFErweitert::FormCreate() {
  SetUpWindow();
  const app::TFMain& main = Main();
  BWeiter.SetCaption(Word(2));
  BZurueck.SetCaption(Word(1));
  BAbbrechen.SetCaption(Word(5));
  LStatus.SetCaption(Word(18));
  LHinweis->SetCaption(Word(19));
  TSDateien.SetCaption(Word(20));
  TSOptionen.SetCaption(Word(21));
  CBAutoReboot.SetCaption(Word(25));
  CBMinimieren.SetCaption(Word(27));
  CBLoescheLogs.SetCaption(Word(29));
  CBNiedrigePrioritaet.SetCaption(Word(31));
  LAutoReboot.SetCaption(Word(26));
  LMinimieren.SetCaption(Word(28));
  LLoescheLogs.SetCaption(Word(30));
  LNiedrigePrioritaet.SetCaption(Word(32));

  LVDateien.ClearItems();
  const int files = app::StrToInt(main.Settings.Files);
  for (int i = 1; i <= files; ++i) LVDateien.AddItem(main.Packages[i].Name, true);
  ShowSelectionCount(main.Settings.Files);

  CBAutoReboot.SetChecked(main.Settings.AutoReboot);
  CBMinimieren.SetChecked(main.Settings.Minimize);
  CBLoescheLogs.SetChecked(main.Settings.DeleteLogs);
  CBNiedrigePrioritaet.SetChecked(main.Settings.LowPriority);
  PageControl1.SetActivePageIndex(0);
}

void TFErweitert::UpdateSelectionCount() {
  ShowSelectionCount(std::to_string(CountChosenPackages(LVDateien, Main().Settings.Files)));
}

void TFErweitert::CheckAll(bool checked) {
  const int files = app::StrToInt(Main().Settings.Files);
  for (int k = 0; k < files; ++k) LVDateien.SetItemChecked(k, checked);
  UpdateSelectionCount();
}

// A click on a row's check box has changed the mark already.
void TFErweitert::LVDateienClick() { UpdateSelectionCount(); }

void TFErweitert::Button1Click() { CheckAll(true); }

void TFErweitert::Button2Click() { CheckAll(false); }

void TFErweitert::MIAuswahlClick() {
  const int row = LVDateien.ItemIndex();
  if (row >= 0) LVDateien.SetItemChecked(row, !LVDateien.ItemChecked(row));
  UpdateSelectionCount();
}

void TFErweitert::MIDetailsClick() {
  const int row = LVDateien.ItemIndex();
  if (row < 0) return;
  SetEnabled(false);
  TFDetails& details = *Pages().FDetails;
  details.Show();
  details.ShowPackage(row + 1);
}

void TFErweitert::BWeiterClick() {
  if (CountChosenPackages(LVDateien, Main().Settings.Files) <= 0) {
    Main().ShowMessageDialog(Word(65), app::MessageKind::Error);
    return;
  }
  GoTo(*Pages().FStart);
}

void TFErweitert::BZurueckClick() { GoTo(*Pages().FMethode); }

void TFErweitert::ShowSelectionCount(const std::string& count) {
  LSelectedItems.SetCaption(Word(24) + ": " + count + " " + Word(33) + " " +
                            Main().Settings.Files);
}

}  // namespace wizard
