// Records what the program would have shown in its modal windows.
#pragma once

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
  std::vector<Message> messages;
  std::vector<std::string> questions;
  bool answer = false;  // what the user answers every question

  void MessageDialog(bool information, const std::string& text) override {
    messages.push_back({information, text});
  }
  bool QuestionDialog(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }

  void ErrorBox(const std::string& caption, const std::string& text) override {
    error_boxes.push_back({caption, text});
  }
};

}  // namespace test
