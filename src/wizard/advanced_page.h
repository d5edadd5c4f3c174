// The user-defined installation: which packages, and four options of the run.
#pragma once

#include "frame/page_frame.h"
#include "ui/check_box.h"
#include "ui/list_view.h"
#include "ui/popup_menu.h"
#include "ui/tab_control.h"

namespace wizard {

class TFErweitert : public frame::PageFrame {
 public:
  explicit TFErweitert(frame::Context& context);

  // clang-format off
  ui::TabControl PageControl1{*this, "PageControl1", {12, 68, 432, 293},
                              ui::kAnchorLeft | ui::kAnchorTop | ui::kAnchorRight |
                                  ui::kAnchorBottom};
  ui::TabSheet TSDateien{PageControl1, "TSDateien", "Dateiauswahl"};
  ui::ListView LVDateien{TSDateien, "LVDateien", {4, 4, 415, 229},
                         ui::kAnchorLeft | ui::kAnchorTop | ui::kAnchorRight | ui::kAnchorBottom};
  ui::Button Button1{TSDateien, "Button1", {4, 236, 89, 25}, "Alle auswählen",
                     ui::kAnchorLeft | ui::kAnchorBottom};
  // Wide enough for the demo's word 83, "Auswahl aufheben", with room at both ends.
  ui::Button Button2{TSDateien, "Button2", {100, 236, 110, 25}, "Auswahl aufheben",
                     ui::kAnchorLeft | ui::kAnchorBottom};
  ui::Label LSelectedItems{TSDateien, "LSelectedItems", {212, 242, 201, 13},
                           "Ausgewählte Dateien: 0 von 0",
                           ui::kAlignRight | ui::kAnchorRight | ui::kAnchorBottom};
  ui::TabSheet TSOptionen{PageControl1, "TSOptionen", "Optionen"};
  ui::CheckBox CBAutoReboot{TSOptionen, "CBAutoReboot", {16, 12, 369, 17},
                            "Automatisch neu starten", ui::kBold};
  ui::Label LAutoReboot{TSOptionen, "LAutoReboot", {35, 28, 369, 42},
                        "Ist diese Option aktiviert, startet Setup das Betriebssystem nach einem "
                        "Countdown von zehn Sekunden automatisch neu.",
                        ui::kWordWrap};
  ui::CheckBox CBMinimieren{TSOptionen, "CBMinimieren", {16, 76, 369, 17},
                            "Während der Installation zum Trayicon minimieren", ui::kBold};
  ui::Label LMinimieren{TSOptionen, "LMinimieren", {35, 92, 369, 42},
                        "Ist diese Option aktiviert, minimiert sich Setup während der "
                        "Installation der Dateien in den Infobereich neben der Uhr.",
                        ui::kWordWrap};
  ui::CheckBox CBLoescheLogs{TSOptionen, "CBLoescheLogs", {16, 136, 369, 17},
                             "Anfallende Logdateien löschen", ui::kBold};
  ui::Label LLoescheLogs{TSOptionen, "LLoescheLogs", {35, 152, 369, 42},
                         "Ist diese Option aktiviert, löscht Setup automatisch von den Dateien "
                         "angelegte Logdateien.",
                         ui::kWordWrap};
  ui::CheckBox CBNiedrigePrioritaet{TSOptionen, "CBNiedrigePrioritaet", {16, 196, 369, 17},
                                    "Niedrige Prozesspriorität", ui::kBold};
  ui::Label LNiedrigePrioritaet{
      TSOptionen, "LNiedrigePrioritaet", {35, 212, 369, 42},
      "Diese Option verlangsamt die Installation, schont aber die Resourcen des Systemes, so "
      "dass Sie auf keinlerlei Rechenleistung verzichten müssen.",
      ui::kWordWrap};
  ui::PopupMenu PopupMenu{*this, "PopupMenu"};
  ui::MenuItem MIAuswahl{PopupMenu, "MIAuswahl", "Auswählen"};
  ui::MenuItem N1{PopupMenu, "N1", "-", ui::kSeparator};
  ui::MenuItem MIDetails{PopupMenu, "MIDetails", "Details", ui::kDefaultItem};
  // clang-format on

 private:
  void FormCreate();
  void FormShow();
  void LVDateienClick();
  void MIDetailsClick();
  void MIAuswahlClick();
  void Button1Click();
  void Button2Click();
  void BWeiterClick();
  void BZurueckClick();

  // Checks or clears rows 0 to Files - 1.
  void CheckAll(bool checked);
  void UpdateSelectionCount();
  void ShowSelectionCount(const std::string& count);
};

}  // namespace wizard
