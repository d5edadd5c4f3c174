#include "wizard/details_dialog.h"

namespace wizard {

TFDetails::TFDetails(app::TFMain& main)
    : ui::Form(main.App(), "TFDetails", {250, 200, 464, 272}, "Details", ui::DialogStyle(false)),
      main_(main) {
  OnCreate.Bind(this, &TFDetails::FormCreate);
}

void TFDetails::FormCreate() {
  const app::WordTable& words = main_.Words;
  SetCaption(words[54]);
  BClose.SetCaption(words[63]);
  LCDateiname.SetCaption(words[49] + ":");
  LCBeschreibung.SetCaption(words[50] + ":");
  LCParameter.SetCaption(words[51] + ":");
  LCWeblink.SetCaption(words[52] + ":");
}

}  // namespace wizard
