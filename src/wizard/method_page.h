// The choice between the automatic installation of every package and a
// user-defined one.
#pragma once

#include "frame/page_frame.h"
#include "ui/radio_button.h"

namespace wizard {

class TFMethode : public frame::PageFrame {
 public:
  explicit TFMethode(frame::Context& context);

  // clang-format off
  ui::Image ILinks{*this, "ILinks", {0, 63, 164, 313}, ui::kDockLeft | ui::kAutoSize};
  ui::RadioButton CBAutomaticInstall{*this, "CBAutomaticInstall", {180, 80, 277, 17},
                                     "Automatisch (empfohlen)", ui::kBold | ui::kChecked};
  ui::Label LAutomaticInstall{*this, "LAutomaticInstall", {204, 108, 253, 101},
                              "Bei der Automatischen Installation werden alle Updates für Sie "
                              "automatisch installiert. Sie müssen sich um nichts kümmern.",
                              ui::kWordWrap};
  ui::RadioButton CBAdvancedInstall{*this, "CBAdvancedInstall", {180, 228, 277, 17},
                                    "Benutzerdefiniert", ui::kBold};
  ui::Label LAdvancedInstall{
      *this, "LAdvancedInstall", {204, 256, 253, 101},
      "Dies Option ist nur für Fortgeschrittene Benutzer gedacht. Hier können Sie festlegen, "
      "welche Dateien Sie genau installieren möchten. Außerdem können Sie das Verhalten des "
      "Installationsprogrammes genauer festlegen.",
      ui::kWordWrap};
  // clang-format on

 private:
  void FormCreate();
  void BWeiterClick();
  void BZurueckClick();

  bool waiting_for_rules_ = false;
};

}  // namespace wizard
