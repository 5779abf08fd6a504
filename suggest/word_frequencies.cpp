#include "suggest/word_frequencies.h"

#include <cstddef>

namespace velmara {

extern const char kFrequentWordText[];
extern const std::size_t kFrequentWordTextSize;

namespace {

// The lines of the built-in list that hold a space (`sequences`) or none.
std::vector<std::string_view> Lines(bool sequences) {
  std::vector<std::string_view> lines;
  const std::string_view text(kFrequentWordText, kFrequentWordTextSize);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (!line.empty() && (line.find(' ') != std::string_view::npos) == sequences) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::vector<std::string_view> FrequentWords() { return Lines(false); }
std::vector<std::string_view> CommonSequences() { return Lines(true); }

}  // namespace velmara
