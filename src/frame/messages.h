// The small services of the main form that every page uses: system sounds,
// messages, the question, and placing one page where another stands.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "release/words.h"

namespace platform {
class System;
}

namespace ui {
class Form;
}

namespace frame {

enum class MessageKind { Error = 1, Information = 2, Question = 3 };

// The message dialog: "Informationen" for kind 2, "Fehler" for every other
// kind, one button "OK" (words 91 to 93).
platform::DialogContent MessageDialogContent(const std::string& text, MessageKind kind,
                                             const release::WordTable& words);

// The question dialog "Bestätigen" (word 86) with the answers `yes` (Enter)
// and `no` (Escape).
platform::DialogContent QuestionDialogContent(const std::string& text,
                                              const release::WordTable& words,
                                              release::WordNumber yes = release::kWordYes,
                                              release::WordNumber no = release::kWordNo);

// Starts the kind's system sound and returns at once.
void PlayKindSound(platform::System& system, MessageKind kind);

// The kind's sound, then a modal message with an OK button: the information
// dialog for kind 2, the error dialog for every other kind.
void ShowMessageDialog(platform::System& system, platform::Dialogs& dialogs,
                       const release::WordTable& words, const std::string& text, MessageKind kind);

// The question dialog alone; true only for the answer `yes`.
bool ShowQuestionDialog(platform::Dialogs& dialogs, const release::WordTable& words,
                        const std::string& text, release::WordNumber yes = release::kWordYes,
                        release::WordNumber no = release::kWordNo);

// The question sound, then the question dialog; true only for the answer `yes`.
bool AskQuestion(platform::System& system, platform::Dialogs& dialogs,
                 const release::WordTable& words, const std::string& text,
                 release::WordNumber yes = release::kWordYes,
                 release::WordNumber no = release::kWordNo);

// Puts `next` where `current` stands; size, state and visibility stay.
void PlacePage(const ui::Form& current, ui::Form& next);

}  // namespace frame
