#pragma once
// The words beside a token of the last check run, for the suggester: the nearest word token on
// each side with only spaces between. A line end, a punctuation mark or any other separator in
// between leaves that side empty: a word across a comma says little of the one asked about.

#include <cstddef>

#include "checker/check_state.h"
#include "suggest/suggester.h"

namespace velmara {

// Views into `tokens`, valid while it is unchanged.
Neighbours NeighboursAt(const TokenList& tokens, std::size_t token);

}  // namespace velmara
