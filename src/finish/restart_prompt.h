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
  // Room for three lines of the first text and two of the others: texts
  // wrap earlier under Wine, and translations are longer.
  ui::Button Button1{*this, "Button1", {105, 130, 105, 25}, "Jetzt neu starten"};
  ui::Label Label1{*this, "Label1", {16, 12, 283, 42},
                   "Um die Installation des Update Packs fortzusetzten, muss der Computer neu "
                   "gestartet werden. ",
                   ui::kWordWrap};
  ui::Label Label2{*this, "Label2", {16, 60, 283, 28},
                   "Nach dem Neustart geht die Installation automatisch weiter.", ui::kWordWrap};
  ui::Label Label3{*this, "Label3", {16, 94, 283, 28},
                   "Bitte schließen Sie jetzt alle geöffneten Programme. ", ui::kWordWrap};
  // clang-format on

 private:
  void FormShow();
  void Button1Click();

  frame::Context& context_;
};

}  // namespace finish
