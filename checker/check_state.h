#pragma once
// The state a check run leaves behind: token lists, corrected text, counts and missing words.
// One instance lives in the program; the marking, the figures, the suggestions dialog and the
// export read it until the next run.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "checker/encoding.h"
#include "checker/tokens.h"

namespace velmara {

inline constexpr std::size_t kMissingWordCapacity = 2000;
inline constexpr std::size_t kMissingWordLength = 49;

// An accent the words around a word say is missing (checker/context.h). Offered, never applied.
struct Advice {
  std::size_t token = 0;    // index in the token lists (0-based)
  std::string replacement;  // the advised word, in the case it was written (Windows-1252)
  std::string message;      // Spanish, Windows-1252
  double confidence = 0;    // 0..1
};

struct CheckState {
  // Tokens of the source text; the display text's are the same tokens with a line break shown
  // as a space (ShownText), so they are not kept twice.
  TokenList source;
  TokenList result;  // result text and verdict per token, same count
  std::string correctedText;
  // The words whose result is longer than the kMaxTokenLength characters their result entry
  // keeps: (token index, length of the whole result), in token order. With the result list they
  // tell where each token lies in correctedText (CorrectedEnds).
  std::vector<std::pair<std::size_t, std::size_t>> longResults;

  std::int32_t CorrectedCount = 0;
  std::int32_t MissingCount = 0;
  std::int32_t CharacterTotal = 0;
  // The first kMissingWordCapacity missing words, each cut to kMissingWordLength characters.
  std::vector<std::string> missingWords;

  // Set by an opening "¿" or "¡", cleared by "?" or "!" or the first interrogative after it.
  // Carried from one run to the next.
  bool openQuestion = false;
  // The characters behind the kUnheldCharacter bytes of the source text, in order; set by the
  // edge that read the text, read when the text goes back out.
  UnheldCharacters unheld;
  Verdict lastVerdict = Verdict::Accepted;
  // Accent advice for the words of the last run, in token order, for a caller that asked for it
  // (checker/context.h); emptied when the next run is prepared.
  std::vector<Advice> advice;
};

}  // namespace velmara
