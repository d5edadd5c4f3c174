// The licence text with its accept and decline choice.
#pragma once

#include "frame/page_frame.h"
#include "ui/radio_button.h"
#include "ui/rich_text.h"

namespace wizard {

class TFLizenz : public frame::PageFrame {
 public:
  explicit TFLizenz(frame::Context& context);

  // clang-format off
  // Declared in their tab order; the text comes after the button row.
  // Its designed size, not the icon's: the system's icon grows with the dpi, and the scaling of
  // the page would grow it a second time over the licence text.
  ui::Image Image1{*this, "Image1", {12, 76, 32, 32}};
  ui::RadioButton CBAblehnen{*this, "CBAblehnen", {72, 344, 149, 17}, "Ich stimme nicht zu",
                             ui::kChecked};
  ui::RadioButton CBAnnehmen{*this, "CBAnnehmen", {236, 344, 149, 17}, "Ich stimme zu"};
  ui::RichText RLizenz{*this, "RLizenz", {56, 76, 393, 253}};
  // clang-format on

 private:
  void FormCreate();
  void CBAnnehmenClick();
  void CBAblehnenClick();
  void BWeiterClick();
  void BZurueckClick();
};

}  // namespace wizard
