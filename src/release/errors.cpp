#include "release/errors.h"

#include <utility>

namespace release {

namespace {

// The first "%s" of the word stands for the detail.
std::string WithDetail(std::string text, const std::string& detail) {
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, detail);
  return text;
}

}  // namespace

WordedError::WordedError(WordNumber word, std::string detail)
    : AppError(WithDetail(WordTable::Missing(word), detail)),
      word_(word),
      detail_(std::move(detail)) {}

std::string WordedError::In(const WordTable& words) const {
  return WithDetail(words[word_], detail_);
}

std::string ErrorMessage(const std::exception& e, const WordTable& words) {
  if (const auto* worded = dynamic_cast<const WordedError*>(&e)) return worded->In(words);
  return e.what();
}

}  // namespace release
