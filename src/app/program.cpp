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

TFMain& CreateForms(ui::Application& app, platform::System& system,
                    frame::UnattendedDialogs& dialogs) {
  app.SetTitle("Installer");
  TFMain& main = app.CreateForm<TFMain>(app, system, dialogs);
  if (app.Terminated() || main.Starter.Active()) return main;
  frame::Context& context = main.context;
  frame::Forms& f = context.forms;
  f.FWillkommen = &app.CreateForm<wizard::TFWillkommen>(context);
  f.FLizenz = &app.CreateForm<wizard::TFLizenz>(context);
  f.FMethode = &app.CreateForm<wizard::TFMethode>(context);
  f.FErweitert = &app.CreateForm<wizard::TFErweitert>(context);
  f.FKopieren = &app.CreateForm<engine::TFKopieren>(context);
  f.FDetails = &app.CreateForm<wizard::TFDetails>(context);
  f.FEnde = &app.CreateForm<finish::TFEnde>(context);
  f.FAbout = &app.CreateForm<about::TFAbout>(context);
  f.FStart = &app.CreateForm<wizard::TFStart>(context);
  f.FAutoReboot = &app.CreateForm<finish::TFAutoReboot>(context);
  f.Form1 = &app.CreateForm<finish::TForm1>(context);
  return main;
}

}  // namespace app
