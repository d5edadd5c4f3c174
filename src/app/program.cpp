#include "app/program.h"

#include "about/about_dialog.h"
#include "app/main_form.h"
#include "engine/install_page.h"
#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "finish/restart_prompt.h"
#include "ui/application.h"
#include "wizard/advanced_page.h"
#include "wizard/details_dialog.h"
#include "wizard/license_page.h"
#include "wizard/method_page.h"
#include "wizard/summary_page.h"
#include "wizard/welcome_page.h"

namespace app {

TFMain& CreateForms(ui::Application& app, platform::System& system, platform::Dialogs& dialogs) {
  app.SetTitle("Installer");
  TFMain& main = app.CreateForm<TFMain>(app, system, dialogs);
  if (app.Terminated()) return main;
  Forms& f = main.forms;
  f.FWillkommen = &app.CreateForm<wizard::TFWillkommen>(main);
  f.FLizenz = &app.CreateForm<wizard::TFLizenz>(main);
  f.FMethode = &app.CreateForm<wizard::TFMethode>(main);
  f.FErweitert = &app.CreateForm<wizard::TFErweitert>(main);
  f.FKopieren = &app.CreateForm<engine::TFKopieren>(main);
  f.FDetails = &app.CreateForm<wizard::TFDetails>(main);
  f.FEnde = &app.CreateForm<finish::TFEnde>(main);
  f.FAbout = &app.CreateForm<about::TFAbout>(main);
  f.FStart = &app.CreateForm<wizard::TFStart>(main);
  f.FAutoReboot = &app.CreateForm<finish::TFAutoReboot>(main);
  f.Form1 = &app.CreateForm<finish::TForm1>(main);
  return main;
}

}  // namespace app
