#pragma once
// A word the user chose for a token of the last check (a suggestion picked in the result box):
// it takes the token's place in the result list and in the corrected text, so the result box and
// the export show it, with the verdict Corrected. The figures of the run stay as they were
// reported, and the Intellisense list is not touched: the choice holds for this text only.

#include <cstddef>
#include <optional>
#include <string_view>

#include "checker/check_state.h"

namespace velmara {

// Where a token stands in the result text (the result entries joined, as the result box shows
// them): [start, start + length).
struct ResultSpan {
  std::size_t token = 0;
  std::size_t start = 0;
  std::size_t length = 0;
};

// The token whose result covers the character at `position` of the result text; nothing past
// its end.
std::optional<ResultSpan> ResultTokenAt(const CheckState& state, std::size_t position);

// Puts `word` in place of the token's text in the result list and the corrected text, and marks
// it Corrected. A token out of range is left alone.
void PutChosenWord(CheckState& state, std::size_t token, std::string_view word);

}  // namespace velmara
