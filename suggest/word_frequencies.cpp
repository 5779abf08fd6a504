#include "suggest/word_frequencies.h"

#include <cstddef>

namespace velmara {

extern const char kFrequentWordText[];
extern const std::size_t kFrequentWordTextSize;

std::vector<std::string_view> FrequentWords() {
  std::vector<std::string_view> words;
  const std::string_view text(kFrequentWordText, kFrequentWordTextSize);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

}  // namespace velmara
