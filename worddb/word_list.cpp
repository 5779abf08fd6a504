#include "worddb/word_list.h"

namespace velmara {

void WordList::Assign(std::vector<std::string> words) {
  words_ = std::move(words);
  index_.Reset(words_.size());
  auto textOf = [this](std::size_t position) -> std::string_view { return words_[position - 1]; };
  for (std::size_t i = 0; i < words_.size(); ++i) index_.Insert(HashText(words_[i]), i + 1, textOf);
}

std::size_t WordList::Find(std::string_view text) const {
  return index_.Find(text, HashText(text),
                     [this](std::size_t position) -> std::string_view { return words_[position - 1]; });
}

}  // namespace velmara
