#pragma once
// What velmara-check --suggest adds to its reports: the suggestions for each missing word.

#include <set>
#include <string>
#include <vector>

#include "checker/check_state.h"
#include "suggest/suggester.h"

namespace velmara::cli {

// Suggestions for token `index` of the run, with the words beside it, in UTF-8; empty unless the
// token is a missing word or a verb form left in doubt.
std::vector<std::string> TokenSuggestions(const CheckState& state, std::size_t index, const Suggester& suggester);

// One line per missing word (and verb form in doubt), in order of first appearance and once each: the word, a colon and
// its first five suggestions separated by commas ("(ninguna)" when there is none). UTF-8.
std::string SuggestionLines(const CheckState& state, const Suggester& suggester);
// The same for a run checked in pieces: `listed` holds the words listed by the pieces before.
std::string SuggestionLines(const CheckState& state, const Suggester& suggester, std::set<std::string>& listed);

}  // namespace velmara::cli
