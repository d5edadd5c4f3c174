// The summary of the user-defined choices before the installation starts.
#pragma once

#include "frame/page_frame.h"

namespace wizard {

class TFStart : public frame::PageFrame {
 public:
  explicit TFStart(frame::Context& context);

  // clang-format off
  // A caption wraps beside its value rather than running over it.
  ui::Image ILinks{*this, "ILinks", {0, 63, 164, 313}, ui::kDockLeft | ui::kAutoSize};
  ui::Label LAusgewaehlt{*this, "LAusgewaehlt", {176, 148, 200, 28}, "Ausgewählte Dateien:",
                         ui::kWordWrap};
  ui::Label LDateien{*this, "LDateien", {412, 148, 37, 13}, "2 von 2",
                     ui::kAutoSize | ui::kAlignRight};
  ui::Label LCAutoReboot{*this, "LCAutoReboot", {176, 180, 200, 28},
                         "Nach Installation automatisch neu starten:", ui::kWordWrap};
  ui::Label LAutoReboot{*this, "LAutoReboot", {425, 180, 24, 13}, "Nein",
                        ui::kAutoSize | ui::kAlignRight};
  ui::Label LCMinimieren{*this, "LCMinimieren", {176, 212, 200, 28},
                         "Während der Installation zum Trayicon minimieren:", ui::kWordWrap};
  ui::Label LMinimieren{*this, "LMinimieren", {425, 212, 24, 13}, "Nein",
                        ui::kAutoSize | ui::kAlignRight};
  ui::Label LCLoescheLogs{*this, "LCLoescheLogs", {176, 244, 200, 28},
                          "Anfallende Logdateien löschen:", ui::kWordWrap};
  ui::Label LLoescheLogs{*this, "LLoescheLogs", {425, 244, 24, 13}, "Nein",
                         ui::kAutoSize | ui::kAlignRight};
  ui::Label LCNiedrigePrioritaet{*this, "LCNiedrigePrioritaet", {176, 276, 200, 28},
                                 "Niedrige Prozesspriorität:", ui::kWordWrap};
  ui::Label LNiedrigePrioritaet{*this, "LNiedrigePrioritaet", {425, 276, 24, 13}, "Nein",
                                ui::kAutoSize | ui::kAlignRight};
  // clang-format on

 private:
  void FormCreate();
  void FormShow();
  void BWeiterClick();
  void BZurueckClick();

  // Word 66 for an option that is on, word 67 for one that is off.
  const std::string& YesNo(bool on) const;
};

}  // namespace wizard
