// The program body on Windows: harden the DLL search, build the platform
// services and the window backend, create the forms, run the message loop.
#include <windows.h>

#include "app/main_form.h"
#include "app/program.h"
#include "frame/unattended_dialogs.h"
#include "ui/application.h"
#include "win32/base/dll_hardening.h"
#include "win32/dialogs/win32_dialogs.h"
#include "win32/peers/tray_peer.h"
#include "win32/peers/ui_backend.h"
#include "win32/system/win32_system.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything can load a DLL: never from the program's own folder, also not
  // where the system's DLLs load others by name past the restriction.
  win32::RestrictDllSearchPath();
  win32::PreloadSystemLibraries();

  win32::Win32System system;
  win32::Win32Dialogs shown;
  frame::InstallLog log(system);
  frame::UnattendedDialogs dialogs(shown, log);
  win32::UiBackend backend(instance);
  ui::Application app(dialogs, &backend);
  shown.ShowOn(app, backend);

  app::TFMain& main = app::CreateForms(app, system, dialogs);
  main.TrayIcon.AttachPeer(win32::CreateTrayPeer(main.TrayIcon));
  return app.Run();
}
