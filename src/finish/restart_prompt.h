// The notice that the computer restarts before the installation goes on.
#pragma once

#include "frame/context.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"

namespace finish {

class TForm1 : public ui::Form {
 public:
  explicit TForm1(frame::Context& context);

  // clang-format off
  ui::Button Button1{*this, "Button1", {104, 112, 105, 25}, "Jetzt neu starten"};
  ui::Label Label1{*this, "Label1", {16, 16, 257, 33},
                   "Um die Installation des Update Packs fortzusetzten, muss der Computer neu "
                   "gestartet werden. ",
                   ui::kWordWrap};
  ui::Label Label2{*this, "Label2", {16, 48, 288, 13},
                   "Nach dem Neustart geht die Installation automatisch weiter.", ui::kAutoSize};
  ui::Label Label3{*this, "Label3", {16, 80, 251, 13},
                   "Bitte schließen Sie jetzt alle geöffneten Programme. ", ui::kAutoSize};
  // clang-format on

 private:
  void FormShow();
  void Button1Click();

  frame::Context& context_;
};

}  // namespace finish
