#include "wizard/advanced_page.h"

#include "app/integer_text.h"

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

void TFErweitert::ShowSelectionCount(const std::string& count) {
  LSelectedItems.SetCaption(Word(24) + ": " + count + " " + Word(33) + " " +
                            Main().Settings.Files);
}

}  // namespace wizard
