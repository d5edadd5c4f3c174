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

  void ErrorBox(const std::string& caption, const std::string& text) override {
    error_boxes.push_back({caption, text});
  }
};

}  // namespace test
