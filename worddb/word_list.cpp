#include "worddb/word_list.h"

namespace velmara {

void WordList::Assign(std::vector<std::string> words) {
  firstIndex_.clear();
  words_ = std::move(words);
  firstIndex_.reserve(words_.size());
  for (std::size_t i = 0; i < words_.size(); ++i)
    firstIndex_.try_emplace(std::string_view(words_[i]), static_cast<std::uint32_t>(i + 1));
}

std::size_t WordList::Find(std::string_view text) const {
  auto it = firstIndex_.find(text);
  return it == firstIndex_.end() ? 0 : it->second;
}

}  // namespace velmara
