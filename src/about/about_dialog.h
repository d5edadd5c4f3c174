// About the release and about the installer.
#pragma once

#include "frame/context.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/rich_text.h"
#include "ui/tab_control.h"

namespace about {

class TFAbout : public ui::Form {
 public:
  // The installer as the dialog names it, and its maker's address in the hidden link.
  static constexpr const char* kProgramName = "Melvane Installer";
  static constexpr const char* kProgramVersion = " 2.04.01e";
  static constexpr const char* kMakerWebsite = "http://installer.invalid";

  explicit TFAbout(frame::Context& context);

  // clang-format off
  ui::TabControl PC1{*this, "PC1", {8, 8, 345, 297}};
  ui::TabSheet TSRelease{PC1, "TSRelease", "Über das Release"};
  ui::Image IDLogo{TSRelease, "IDLogo", {16, 16, 33, 33}};
  ui::Label LRName{TSRelease, "LRName", {56, 16, 269, 29}, "[unbekannt]",
                   ui::kWordWrap | ui::kBold};
  ui::Label LRVersion{TSRelease, "LRVersion", {16, 56, 64, 13}, "Version 0.00", ui::kAutoSize};
  ui::Label LRDeveloperT{TSRelease, "LRDeveloperT", {16, 92, 73, 13}, "Vertieben von:",
                         ui::kAutoSize};
  ui::Label LRDeveloper{TSRelease, "LRDeveloper", {24, 124, 51, 13}, "Vertreiber", ui::kAutoSize};
  ui::Label LRWebsite{TSRelease, "LRWebsite", {24, 140, 61, 13}, "[unbekannt]", ui::kAutoSize};
  ui::Button BRReadme{TSRelease, "BRReadme", {252, 236, 75, 25}, "Readme",
                      ui::kAnchorRight | ui::kAnchorTop | ui::kAutoSize};
  ui::TabSheet TSInstaller{PC1, "TSInstaller", "Über den Installer"};
  ui::Image IAboutIcon{TSInstaller, "IAboutIcon", {16, 16, 32, 32}};
  ui::Label LProgrammName{TSInstaller, "LProgrammName", {56, 16, 107, 13}, kProgramName,
                          ui::kBold | ui::kAutoSize};
  ui::Label LVersion{TSInstaller, "LVersion", {56, 34, 64, 13}, "Version 0.00", ui::kAutoSize};
  ui::Label Label2{TSInstaller, "Label2", {56, 68, 250, 13},
                   "Ein Installationsprogramm für Update-Pakete.", ui::kAutoSize};
  ui::Label LWebsite{TSInstaller, "LWebsite", {56, 88, 39, 13}, "Website",
                     ui::kAutoSize | ui::kHidden};
  ui::RichText MDisclaimer{TSInstaller, "MDisclaimer", {8, 124, 317, 133},
                           ui::kVerticalScroll | ui::kHidden};
  ui::Panel Panel1{*this, "Panel1", {0, 316, 363, 29}, ui::kDockBottom};
  ui::Panel Panel2{*this, "Panel2", {0, 314, 363, 2}, ui::kDockBottom | ui::kLowered};
  // BClose and BRReadme are as wide as their words need, growing to the left.
  ui::Button BClose{Panel1, "BClose", {284, 2, 75, 25}, "OK",
                    ui::kAnchorRight | ui::kAnchorTop | ui::kAutoSize};
  // clang-format on

  // The texts of both tabs from the release's settings and words, afresh at every opening.
  void FillTexts();
  // Shows the dialog; `opener` takes no input until it closes.
  void ShowOver(ui::Form& opener);

 private:
  void FormCreate();
  void FormClose(ui::CloseAction& action);
  void FormMouseMove(ui::Point at);
  void BCloseClick();
  void BRReadmeClick();
  void LRWebsiteClick();
  void LRWebsiteMouseMove(ui::Point at);
  void LWebsiteClick();
  void LWebsiteMouseMove(ui::Point at);

  frame::Context& context_;
  ui::Form* opener_ = nullptr;
};

}  // namespace about
