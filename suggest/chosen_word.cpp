#include "suggest/chosen_word.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "checker/check_run.h"

namespace velmara {

std::optional<ResultSpan> ResultTokenAt(const CheckState& state, std::size_t position) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < state.result.size(); ++i) {
    const std::size_t length = state.result[i].text.size();
    if (position < start + length) return ResultSpan{i, start, length};
    start += length;
  }
  return std::nullopt;
}

void PutChosenWord(CheckState& state, std::size_t token, std::string_view word) {
  if (token >= state.result.size()) return;
  // The token's text in the corrected text is its whole result, which the result entry keeps
  // only up to kMaxTokenLength characters.
  auto& longResults = state.longResults;
  auto longResult = std::lower_bound(longResults.begin(), longResults.end(), std::make_pair(token, std::size_t{0}));
  const bool wasLong = longResult != longResults.end() && longResult->first == token;
  const std::size_t oldLength = wasLong ? longResult->second : state.result[token].text.size();
  const std::size_t end = CorrectedEnds(state)[token];
  if (end >= oldLength && end <= state.correctedText.size())
    state.correctedText.replace(end - oldLength, oldLength, word);

  if (wasLong) longResult = longResults.erase(longResult);
  if (word.size() > kMaxTokenLength) longResults.insert(longResult, {token, word.size()});
  state.result[token].text.assign(word.substr(0, kMaxTokenLength));
  state.result[token].verdict = Verdict::Corrected;
}

}  // namespace velmara
