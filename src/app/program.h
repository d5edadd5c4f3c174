// The program body: the title and every form in its order.
#pragma once

namespace platform {
class Dialogs;
class System;
}  // namespace platform

namespace ui {
class Application;
}

namespace app {

class TFMain;

// Creates all forms; when the main form cannot load the release the
// application is already terminated and the pages are not created.
TFMain& CreateForms(ui::Application& app, platform::System& system, platform::Dialogs& dialogs);

}  // namespace app
