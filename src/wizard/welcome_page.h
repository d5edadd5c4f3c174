// The first page: the release's welcome text beside the first side picture.
#pragma once

#include "frame/page_frame.h"

namespace wizard {

class TFWillkommen : public frame::PageFrame {
 public:
  explicit TFWillkommen(frame::Context& context);

  // clang-format off
  ui::Image ILinks{*this, "ILinks", {0, 63, 164, 313}, ui::kDockLeft | ui::kAutoSize};
  ui::Label LText{*this, "LText", {180, 76, 277, 293}, "", ui::kWordWrap};
  ui::Button BInfo{Panel1, "BInfo", {4, 5, 75, 25}, "Info"};
  // clang-format on

 private:
  void FormCreate();
  void BWeiterClick();
  void BInfoClick();
};

}  // namespace wizard
