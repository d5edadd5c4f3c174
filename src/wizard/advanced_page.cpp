#include "wizard/advanced_page.h"

#include "wizard/details_dialog.h"
#include "wizard/method_page.h"
#include "wizard/summary_page.h"

namespace wizard {

TFErweitert::TFErweitert(frame::Context& context)
    : PageFrame(context, "TFErweitert",
                {"Erweiterte Optionen", "Erweiterte Optionen",
                 "Bitte wählen Sie die Dateien aus, die Setup installieren soll und stellen Sie "
                 "ein, wie Setup sich dabei verhalten soll."},
                frame::FrameKind::Sizeable) {
  LVDateien.SetContextMenu(&PopupMenu);
  context.choices.HoldPackages(LVDateien, CBAutoReboot, CBMinimieren, CBLoescheLogs,
                               CBNiedrigePrioritaet);
  OnCreate.Bind(this, &TFErweitert::FormCreate);
  OnShow.Bind(this, &TFErweitert::FormShow);
  LVDateien.OnClick.Bind(this, &TFErweitert::LVDateienClick);
  LVDateien.OnDblClick.Bind(this, &TFErweitert::MIDetailsClick);
  MIDetails.OnClick.Bind(this, &TFErweitert::MIDetailsClick);
  MIAuswahl.OnClick.Bind(this, &TFErweitert::MIAuswahlClick);
  Button1.OnClick.Bind(this, &TFErweitert::Button1Click);
  Button2.OnClick.Bind(this, &TFErweitert::Button2Click);
  BWeiter.OnClick.Bind(this, &TFErweitert::BWeiterClick);
  BZurueck.OnClick.Bind(this, &TFErweitert::BZurueckClick);
}

void TFErweitert::FormCreate() {
  SetUpWindow();
  const frame::Context& context = Shared();
  BWeiter.SetCaption(Word(release::kWordNext));
  BZurueck.SetCaption(Word(release::kWordBack));
  BAbbrechen.SetCaption(Word(release::kWordCancel));
  LStatus.SetCaption(Word(release::kWordAdvancedHeading));
  LHinweis->SetCaption(Word(release::kWordAdvancedHint));
  TSDateien.SetCaption(Word(release::kWordPackagesTab));
  TSOptionen.SetCaption(Word(release::kWordOptionsTab));
  CBAutoReboot.SetCaption(Word(release::kWordAutoRestart));
  CBMinimieren.SetCaption(Word(release::kWordMinimize));
  CBLoescheLogs.SetCaption(Word(release::kWordDeleteLogs));
  CBNiedrigePrioritaet.SetCaption(Word(release::kWordLowPriority));
  LAutoReboot.SetCaption(Word(release::kWordAutoRestartExplained));
  LMinimieren.SetCaption(Word(release::kWordMinimizeExplained));
  LLoescheLogs.SetCaption(Word(release::kWordDeleteLogsExplained));
  LNiedrigePrioritaet.SetCaption(Word(release::kWordLowPriorityExplained));

  Button1.SetCaption(Word(release::kWordSelectAll));
  Button2.SetCaption(Word(release::kWordSelectNone));
  MIAuswahl.SetCaption(Word(release::kWordSelectMenu));
  MIDetails.SetCaption(Word(release::kWordDetailsMenu));
  // The list's window is made at the page's first showing, with this column.
  LVDateien.AddColumn(Word(release::kWordNameColumn), 380);
  LVDateien.ClearItems();
  for (int i = 1; i <= context.Packages.Count(); ++i) {
    LVDateien.AddItem(context.Packages[i].Name, true);
  }
  ShowSelectionCount(context.Settings.Files);

  CBAutoReboot.SetChecked(context.Settings.AutoReboot);
  CBMinimieren.SetChecked(context.Settings.Minimize);
  CBLoescheLogs.SetChecked(context.Settings.DeleteLogs);
  CBNiedrigePrioritaet.SetChecked(context.Settings.LowPriority);
  PageControl1.SetActivePageIndex(0);
}

// Shown only once the rules are evaluated: the packages found installed are
// marked, and were cleared when they were left out.
void TFErweitert::FormShow() {
  const frame::Context& context = Shared();
  for (int i = 1; i <= context.Packages.Count(); ++i) {
    if (context.detection.FoundInstalled(i)) {
      LVDateien.SetItemCaption(
          i - 1, context.Packages[i].Name + " (" + Word(release::kWordAlreadyInstalled) + ")");
    }
  }
  UpdateSelectionCount();
}

void TFErweitert::UpdateSelectionCount() {
  ShowSelectionCount(std::to_string(Shared().choices.ChosenCount()));
}

void TFErweitert::CheckAll(bool checked) {
  for (int k = 0; k < Shared().Packages.Count(); ++k) LVDateien.SetItemChecked(k, checked);
  UpdateSelectionCount();
}

// A click on a row's check box has changed the mark already.
void TFErweitert::LVDateienClick() {
  UpdateSelectionCount();
}

void TFErweitert::Button1Click() {
  CheckAll(true);
}

void TFErweitert::Button2Click() {
  CheckAll(false);
}

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
  if (Shared().choices.ChosenCount() <= 0) {
    Shared().ShowMessageDialog(Word(release::kWordNothingSelected), frame::MessageKind::Error);
    return;
  }
  GoTo(*Pages().FStart);
}

void TFErweitert::BZurueckClick() {
  GoTo(*Pages().FMethode);
}

void TFErweitert::ShowSelectionCount(const std::string& count) {
  LSelectedItems.SetCaption(Word(release::kWordSelectedPackages) + ": " + count + " " +
                            Word(release::kWordOf) + " " + Shared().Settings.Files);
}

}  // namespace wizard
