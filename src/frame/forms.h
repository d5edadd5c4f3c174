// Every form of the program, created once at start in this order and kept
// until the end; a form reaches the others through this table.
#pragma once

namespace ui {
class Form;
}
namespace wizard {
class TFWillkommen;
class TFLizenz;
class TFMethode;
class TFErweitert;
class TFDetails;
class TFStart;
}  // namespace wizard
namespace engine {
class TFKopieren;
}
namespace finish {
class TFEnde;
class TFAutoReboot;
class TForm1;
}  // namespace finish
namespace about {
class TFAbout;
}

namespace frame {

struct Forms {
  // The hidden main form: closing it ends the program.
  ui::Form* FMain = nullptr;
  wizard::TFWillkommen* FWillkommen = nullptr;
  wizard::TFLizenz* FLizenz = nullptr;
  wizard::TFMethode* FMethode = nullptr;
  wizard::TFErweitert* FErweitert = nullptr;
  engine::TFKopieren* FKopieren = nullptr;
  wizard::TFDetails* FDetails = nullptr;
  finish::TFEnde* FEnde = nullptr;
  about::TFAbout* FAbout = nullptr;
  wizard::TFStart* FStart = nullptr;
  finish::TFAutoReboot* FAutoReboot = nullptr;
  finish::TForm1* Form1 = nullptr;

  // Every form exists; the last one created is the restart prompt.
  bool Complete() const { return Form1 != nullptr; }
};

}  // namespace frame
