#include "frame/context.h"

#include "platform/system.h"
#include "ui/application.h"
#include "ui/form.h"

namespace frame {

std::string Context::DataPath(const std::string& name) const {
  return system_.ProgramFolder() + "Data\\" + name;
}

std::string Context::ContinuationPath() const {
  return state_folder_ + kContinuationFileName;
}

std::string Context::TemporaryFolder() const {
  return state_folder_ + "data\\setuptemp";
}

void Context::ShowMessageDialog(const std::string& text, MessageKind kind) const {
  frame::ShowMessageDialog(system_, dialogs_, Words, text, kind);
}

bool Context::AskQuestion(const std::string& text) const {
  return frame::AskQuestion(system_, dialogs_, Words, text);
}

int Context::ExitCode() const {
  if (!Failures.empty()) return 1603;  // ERROR_INSTALL_FAILURE
  if (CancelRequested) return 1602;    // ERROR_INSTALL_USEREXIT
  if (RestartStarted) return 1641;     // ERROR_SUCCESS_REBOOT_INITIATED
  if (RestartNeeded) return 3010;      // ERROR_SUCCESS_REBOOT_REQUIRED
  return 0;
}

void Context::CloseProgram() const {
  Log().Write("Ende mit Exitcode " + std::to_string(ExitCode()));
  app_.SetExitCode(ExitCode());
  forms.FMain->Close();
}

}  // namespace frame
