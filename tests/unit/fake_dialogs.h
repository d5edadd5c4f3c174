// Records what the program would have shown in its modal windows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace test {

class FakeDialogs : public platform::Dialogs {
 public:
  struct Box {
    std::string caption, text;
  };
  std::vector<Box> error_boxes;
  struct Message {
    bool information;
    std::string text;
  };
  std::vector<Message> messages;                  // dialogs with one button
  std::vector<std::string> questions;             // dialogs with a choice
  std::vector<platform::DialogContent> contents;  // every dialog, in order
  bool answer = false;                            // what the user answers every question
  // Run while a question or a message is open, as the events that its modal
  // loop handles would (a package's end, a timer), or to look at what is on
  // disk meanwhile.
  std::function<void()> while_asking;
  std::function<void()> while_telling;

  int ShowDialog(const platform::DialogContent& content) override {
    contents.push_back(content);
    if (content.buttons.size() == 1) {
      messages.push_back({content.icon == platform::DialogIcon::Information, content.text});
      if (while_telling) while_telling();
      return content.buttons[0].result;
    }
    questions.push_back(content.text);
    if (while_asking) while_asking();
    return answer ? content.default_result : content.escape_result;
  }

  void ErrorBox(const std::string& caption, const std::string& text) override {
    error_boxes.push_back({caption, text});
  }
};

}  // namespace test
