#pragma once
// The spelling key of a word and the cost of an edit between two words: the two halves of the
// suggester. The key folds away what a Spanish writer most often gets wrong without noticing
// (accents and tildes, letters that sound alike, a silent h, doubled letters), so words that
// differ only there share one key. The cost weighs each edit by how likely a writer makes it.

#include <string>
#include <string_view>

namespace velmara {

// Lower-case Windows-1252 word in, key out: accents stripped, b/v, c/s/z before e and i, z/s,
// x/s, cc/c, g/j before e and i, ll/y, qu/k, m/n before b and p merged, h dropped (ch kept as one
// letter), and every run of one letter collapsed (rr/r).
// With `flipAt` the c or g at that position is read the other way (hard as soft, soft as hard),
// as if the writer had lost or added the e or i after it.
std::string SpellingKey(std::string_view word, std::size_t flipAt = std::string_view::npos);

// Weighted edit cost (insertions, deletions, substitutions and swaps of neighbours) that turns
// `written` into `candidate`, both lower-case Windows-1252. An accent the writer left out costs
// little, a letter that sounds alike or a doubled letter somewhat more, a neighbouring key more,
// any other letter most. Stops early and returns a value above `bound` once it cannot stay below.
float EditCost(std::string_view written, std::string_view candidate, float bound);

}  // namespace velmara
