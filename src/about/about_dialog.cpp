#include "about/about_dialog.h"

#include "about/web_address.h"
#include "platform/system.h"

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

TFAbout::TFAbout(frame::Context& context)
    : ui::Form(context.App(), "TFAbout", {250, 200, 363, 345}, "[unbekannt]",
               ui::DialogStyle(true)),
      context_(context) {
  SetCancelButton(BClose);
  MDisclaimer.SetCaption(kDisclaimer);
  PC1.SetActivePageIndex(1);  // the installer tab, as designed
  for (ui::Label* link : {&LRWebsite, &LWebsite}) {
    link->SetFontColor(ui::kBlue);
    link->SetCursor(ui::Cursor::Hand);
  }
  OnCreate.Bind(this, &TFAbout::FormCreate);
  OnClose.Bind(this, &TFAbout::FormClose);
  OnMouseMove.Bind(this, &TFAbout::FormMouseMove);
  TSRelease.OnMouseMove.Bind(this, &TFAbout::FormMouseMove);
  TSInstaller.OnMouseMove.Bind(this, &TFAbout::FormMouseMove);
  BClose.OnClick.Bind(this, &TFAbout::BCloseClick);
  BRReadme.OnClick.Bind(this, &TFAbout::BRReadmeClick);
  LRWebsite.OnClick.Bind(this, &TFAbout::LRWebsiteClick);
  LRWebsite.OnMouseMove.Bind(this, &TFAbout::LRWebsiteMouseMove);
  LWebsite.OnClick.Bind(this, &TFAbout::LWebsiteClick);
  LWebsite.OnMouseMove.Bind(this, &TFAbout::LWebsiteMouseMove);
}

void TFAbout::FormCreate() {
  platform::System& system = context_.System();
  IAboutIcon.SetPicture(system.ProgramIcon());
  IDLogo.SetPicture(system.LoadPicture(context_.DataPath("Icon.ico")));
  PC1.SetActivePageIndex(0);
}

void TFAbout::FillTexts() {
  const release::SetupSettings& settings = context_.Settings;
  const release::WordTable& words = context_.Words;
  SetCaption(words[release::kWordAboutCaption] + " " + settings.Name + "...");
  TSRelease.SetCaption(words[release::kWordAboutReleaseTab]);
  LRName.SetCaption(settings.Name);
  LRVersion.SetCaption(settings.Version);
  LRDeveloperT.SetCaption(words[release::kWordDistributedBy]);
  LRDeveloper.SetCaption(settings.Company);
  LRWebsite.SetCaption(settings.Website);
  BRReadme.SetCaption(words[release::kWordReadme]);
  TSInstaller.SetCaption(words[release::kWordAboutInstallerTab]);
  LProgrammName.SetCaption(kProgramName);
  LVersion.SetCaption(kProgramVersion);
  Label2.SetCaption(words[release::kWordAboutInstaller]);
  LWebsite.SetCaption(kMakerWebsite);
  BClose.SetCaption(words[release::kWordClose]);
}

void TFAbout::BCloseClick() {
  BClose.SetEnabled(false);
  BClose.SetEnabled(true);
  Close();
}

void TFAbout::ShowOver(ui::Form& opener) {
  opener_ = &opener;
  opener.SetEnabled(false);
  Show();
}

void TFAbout::FormClose(ui::CloseAction&) {
  if (opener_) opener_->SetEnabled(true);
}

// The read-me beside the program, in Notepad, not waited for.
// Notepad by its full path, both paths quoted: a folder with blanks opens
// the right file.
void TFAbout::BRReadmeClick() {
  platform::System& system = context_.System();
  const std::string notepad = system.WindowsFolder() + "\\Notepad.exe";
  system.StartProgram(notepad, "\"" + notepad + "\" \"" + system.ProgramFolder() + "Readme.txt\"");
}

void TFAbout::LRWebsiteClick() {
  OpenShownLink(context_, LRWebsite.Caption());
}

void TFAbout::LWebsiteClick() {
  OpenShownLink(context_, LWebsite.Caption());
}

void TFAbout::LRWebsiteMouseMove(ui::Point) {
  LRWebsite.SetFontColor(ui::kRed);
}

void TFAbout::LWebsiteMouseMove(ui::Point) {
  LWebsite.SetFontColor(ui::kRed);
}

void TFAbout::FormMouseMove(ui::Point) {
  LRWebsite.SetFontColor(ui::kBlue);
  LWebsite.SetFontColor(ui::kBlue);
}

}  // namespace about
