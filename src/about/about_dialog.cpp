#include "about/about_dialog.h"

namespace about {

namespace {

// The disclaimer stays hidden; its words are the program's own.
constexpr const char* kDisclaimer =
    "Dieses Programm ist Freeware.\r"
    "Es wird ohne jede Gewährleistung zur Verfügung gestellt.\r"
    "Die Benutzung erfolgt auf eigene Gefahr.\r"
    "Der Autor haftet nicht für Schäden, die durch die Benutzung\r"
    "dieses Programmes an Hard- oder Software entstehen.\r"
    "Das Programm darf frei weitergegeben werden,\r"
    "solange es nicht verändert wird.\r"
    "Alle Rechte vorbehalten.";

}  // namespace

TFAbout::TFAbout(app::TFMain& main)
    : ui::Form(main.App(), "TFAbout", {250, 200, 363, 345}, "[unbekannt]", ui::DialogStyle(true)) {
  MDisclaimer.SetCaption(kDisclaimer);
  PC1.SetActivePageIndex(1);  // the installer tab, as designed
}

}  // namespace about
