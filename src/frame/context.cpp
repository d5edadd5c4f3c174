#include "frame/context.h"

#include "frame/run_record.h"
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

void Context::RemoveFilesBesideContinuation() const {
  RemoveFilesBeside(system_, ContinuationPath());
}

std::string Context::TemporaryFolder() const {
  return state_folder_ + "data\\setuptemp";
}

void Context::ShowMessageDialog(const std::string& text, MessageKind kind) const {
  frame::ShowMessageDialog(system_, dialogs_, Words, text, kind);
}

bool Context::AskQuestion(const std::string& text, release::WordNumber yes,
                          release::WordNumber no) const {
  return frame::AskQuestion(system_, dialogs_, Words, text, yes, no);
}

void Context::CloseProgram() const {
  WriteRunRecord(*this);
  const int code = run_.ExitCode();
  Log().Write("Ende mit Exitcode " + ExitCodeText(static_cast<std::uint32_t>(code)));
  app_.SetExitCode(code);
  forms.FMain->Close();
}

void Context::EndIfUnattended(const std::string& why) const {
  if (!Unattended()) return;
  Log().Write("Unbeaufsichtigt, niemand wartet auf eine Antwort: " + why);
  CloseProgram();
}

}  // namespace frame
