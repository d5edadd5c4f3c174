#include "frame/messages.h"

#include "platform/system.h"
#include "ui/form.h"

namespace frame {

platform::DialogContent MessageDialogContent(const std::string& text, MessageKind kind,
                                             const release::WordTable& words) {
  const bool information = kind == MessageKind::Information;
  return {information ? words[release::kWordInformationCaption] : words[release::kWordErrorCaption],
          information ? platform::DialogIcon::Information : platform::DialogIcon::Error,
          text,
          {{platform::kResultOk, words[release::kWordOk], "OK"}},
          platform::kResultOk,
          platform::kResultOk};
}

platform::DialogContent QuestionDialogContent(const std::string& text,
                                              const release::WordTable& words,
                                              release::WordNumber yes, release::WordNumber no) {
  return {words[release::kWordConfirmCaption],
          platform::DialogIcon::Question,
          text,
          {{platform::kResultYes, words[yes], "Yes"}, {platform::kResultNo, words[no], "No"}},
          platform::kResultYes,
          platform::kResultNo};
}

void PlayKindSound(platform::System& system, MessageKind kind) {
  switch (kind) {
    case MessageKind::Error:
      return system.PlaySoundAlias("SYSTEMERROR");
    case MessageKind::Information:
      return system.PlaySoundAlias("SYSTEMINFO");
    case MessageKind::Question:
      return system.PlaySoundAlias("SYSTEMQUESTION");
  }
}

void ShowMessageDialog(platform::System& system, platform::Dialogs& dialogs,
                       const release::WordTable& words, const std::string& text, MessageKind kind) {
  PlayKindSound(system, kind);
  dialogs.ShowDialog(MessageDialogContent(text, kind, words));
}

bool ShowQuestionDialog(platform::Dialogs& dialogs, const release::WordTable& words,
                        const std::string& text, release::WordNumber yes, release::WordNumber no) {
  return dialogs.ShowDialog(QuestionDialogContent(text, words, yes, no)) == platform::kResultYes;
}

bool AskQuestion(platform::System& system, platform::Dialogs& dialogs,
                 const release::WordTable& words, const std::string& text, release::WordNumber yes,
                 release::WordNumber no) {
  PlayKindSound(system, MessageKind::Question);
  return ShowQuestionDialog(dialogs, words, text, yes, no);
}

void PlacePage(const ui::Form& current, ui::Form& next) {
  next.SetPosition(current.Left(), current.Top());
}

}  // namespace frame
