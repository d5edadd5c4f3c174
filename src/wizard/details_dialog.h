// A small dialog about one package: file, description, parameters, web link.
#pragma once

#include <array>

#include "frame/context.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/panel.h"

namespace wizard {

class TFDetails : public ui::Form {
 public:
  explicit TFDetails(frame::Context& context);

  // clang-format off
  ui::Label LCDateiname{*this, "LCDateiname", {12, 12, 55, 13}, "Dateiname:",
                        ui::kBold | ui::kAutoSize};
  // File, parameters and link wrap within the dialog, also inside a long address, and the rows
  // below them move down (ShowPackage).
  ui::Label LFile{*this, "LFile", {20, 32, 429, 13}, "LFile", ui::kWordWrap | ui::kAutoSize};
  ui::Label LCBeschreibung{*this, "LCBeschreibung", {12, 60, 78, 13}, "Beschreibung:",
                           ui::kBold | ui::kAutoSize};
  ui::Label LName{*this, "LName", {20, 80, 429, 45}, "LName", ui::kWordWrap};
  ui::Label LCParameter{*this, "LCParameter", {12, 140, 62, 13}, "Parameter:",
                        ui::kBold | ui::kAutoSize};
  ui::Label LParameter{*this, "LParameter", {20, 160, 429, 13}, "LParameter",
                       ui::kWordWrap | ui::kAutoSize};
  ui::Label LCWeblink{*this, "LCWeblink", {12, 188, 52, 13}, "Weblink:",
                      ui::kBold | ui::kAutoSize};
  ui::Label LWebLink{*this, "LWebLink", {20, 208, 429, 13}, "LWebLink",
                     ui::kWordWrap | ui::kAutoSize};
  ui::Panel Panel1{*this, "Panel1", {0, 237, 464, 35}, ui::kDockBottom};
  ui::Panel Panel2{*this, "Panel2", {0, 235, 464, 2}, ui::kDockBottom | ui::kLowered};
  // As wide as word 63 needs, growing to the left.
  ui::Button BClose{Panel1, "BClose", {379, 5, 81, 25}, "OK",
                    ui::kAnchorRight | ui::kAnchorTop | ui::kAutoSize};
  // clang-format on

  // Shows package `number` (1 to 1000) of the package table.
  void ShowPackage(int number);

 private:
  // The labels from the top; each keeps its designed distance to the one above it.
  std::array<ui::Label*, 8> Rows() {
    return {&LCDateiname, &LFile,      &LCBeschreibung, &LName,
            &LCParameter, &LParameter, &LCWeblink,      &LWebLink};
  }
  void StackRows();

  void FormCreate();
  void FormClose(ui::CloseAction& action);
  void FormMouseMove(ui::Point at);
  void BCloseClick();
  void LWebLinkClick();
  void LWebLinkMouseMove(ui::Point at);

  frame::Context& context_;
  std::array<int, 8> gaps_{};  // designed distance of each row to the bottom of the one above
  int below_rows_ = 0;         // designed client height under the last row
};

}  // namespace wizard
