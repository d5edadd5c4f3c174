// Failures that carry the runtime's German messages, shown to the user by the
// application's error report.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

#include "release/words.h"

namespace release {

class AppError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failure that one of the words says, its "%s" standing for `detail`; its
// own message is the word's built-in German text, for where no words are at
// hand.
class WordedError : public AppError {
 public:
  WordedError(WordNumber word, std::string detail);

  // The message in the release's words.
  std::string In(const WordTable& words) const;

 private:
  WordNumber word_;
  std::string detail_;
};

// A text that is not an integer.
class ConvertError : public WordedError {
 public:
  explicit ConvertError(const std::string& text) : WordedError(kWordNotAnInteger, text) {}
};

// An index outside its table.
class RangeError : public WordedError {
 public:
  RangeError() : WordedError(kWordRangeError, {}) {}
};

// A file that can't be read.
class FileNotOpened : public WordedError {
 public:
  explicit FileNotOpened(const std::string& path) : WordedError(kWordFileNotOpened, path) {}
};

// What the user is told of an error: in the release's words where a word says it.
std::string ErrorMessage(const std::exception& e, const WordTable& words);

}  // namespace release
