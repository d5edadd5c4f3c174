// The page the user sees while the packages install.
#pragma once

#include "ui/group_box.h"
#include "ui/progress_bar.h"
#include "wizard/page_frame.h"

namespace engine {

class TFKopieren : public wizard::PageFrame {
 public:
  explicit TFKopieren(app::TFMain& main);

  ui::Image Image1{*this, "Image1", {16, 88, 437, 60}, ui::kAutoSize};
  ui::GroupBox GBStatus{*this, "GBStatus", {16, 172, 437, 93}, " Status "};
  ui::Label LCVorgang{GBStatus, "LCVorgang", {16, 24, 92, 13}, "Aktueller Vorgang:",
                      ui::kAutoSize};
  ui::Label LCDatei{GBStatus, "LCDatei", {16, 44, 74, 13}, "Aktuelle Datei:", ui::kAutoSize};
  ui::Label LKopierStatus{GBStatus, "LKopierStatus", {116, 24, 110, 13}, "Warte auf Benutzer...",
                          ui::kAutoSize};
  ui::Label LKopierDatei{GBStatus, "LKopierDatei", {116, 44, 305, 37}, "Warte auf Benutzer...",
                         ui::kWordWrap};
  ui::GroupBox GBFortschritt{*this, "GBFortschritt", {16, 292, 437, 61}, " Fortschritt "};
  ui::ProgressBar ProgressBar{GBFortschritt, "ProgressBar", {16, 29, 405, 16}};
  ui::Button BHintergrund{Panel1, "BHintergrund", {4, 5, 75, 25}, "Hintergrund"};

  // Starts the installation run; shows this page.
  void StartInstallation();
  // Brings the page back from the notification area.
  void RestoreFromTray();

 private:
  void FormCreate();
};

}  // namespace engine
