#include "app/messages.h"

#include "platform/dialogs.h"
#include "platform/system.h"
#include "ui/form.h"

namespace app {

void PlayKindSound(platform::System& system, MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return system.PlaySoundAlias("SYSTEMERROR");
    case MessageKind::Information: return system.PlaySoundAlias("SYSTEMINFO");
    case MessageKind::Question: return system.PlaySoundAlias("SYSTEMQUESTION");
  }
}

void ShowMessageDialog(platform::System& system, platform::Dialogs& dialogs,
                       const std::string& text, MessageKind kind) {
  PlayKindSound(system, kind);
  dialogs.MessageDialog(kind == MessageKind::Information, text);
}

bool AskQuestion(platform::System& system, platform::Dialogs& dialogs, const std::string& text) {
  PlayKindSound(system, MessageKind::Question);
  return dialogs.QuestionDialog(text);
}

void PlacePage(const ui::Form& current, ui::Form& next) {
  next.SetPosition(current.Left(), current.Top());
}

}  // namespace app
