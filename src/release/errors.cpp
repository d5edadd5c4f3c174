#include "release/errors.h"

#include <utility>

namespace release {

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
