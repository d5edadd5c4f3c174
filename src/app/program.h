// The program body: the title and every form in its order.
#pragma once

namespace frame {
class UnattendedDialogs;
}
namespace platform {
class System;
}

namespace ui {
class Application;
}

namespace app {

class TFMain;

// Creates all forms; when the main form cannot load the release the
// application is already terminated and the pages are not created.
// `dialogs` must be the dialogs that `app` reports its errors with.
TFMain& CreateForms(ui::Application& app, platform::System& system,
                    frame::UnattendedDialogs& dialogs);

}  // namespace app
