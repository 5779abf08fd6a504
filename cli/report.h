#pragma once
// How velmara-check writes the outcome of one check run: plain corrected text (optionally
// coloured like the desktop marking), one TSV line per word, or one JSON object per run.
// Everything written is UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "app/configuration.h"
#include "checker/check_state.h"

namespace velmara {
class Suggester;
}

namespace velmara::cli {

enum class Format { Text, Tsv, Json };

// The corrected text; with `colour`, words are marked by verdict with ANSI escapes
// (24-bit colours from the settings, strikeout for missing, underline for corrected).
std::string TextReport(const CheckState& state, const Settings& settings, bool colour);
// One line per word token: position (1-based token index), word as written, result, verdict;
// with a suggester, a fifth column of the suggestions for a missing word, separated by commas.
// `firstToken`: how many tokens came before the state's in the run (a run checked in pieces).
// With `advice` (accent advice of the run, checker/context.h), a last column holds the advised
// word of each token that has one.
std::string TsvReport(const CheckState& state, std::size_t firstToken = 0, const Suggester* suggester = nullptr,
                      const std::vector<Advice>* advice = nullptr);
// One JSON object on one line, ended by a line feed; with a suggester, every missing token has a
// "suggestions" array.
// With `advice`, a token that has one carries an "advice" object (replacement, message, confidence).
std::string JsonReport(const CheckState& state, const Suggester* suggester = nullptr,
                       const std::vector<Advice>* advice = nullptr);

// The same object written piece by piece: JsonStart, then JsonTokens of each piece (`first`: no
// token came before), then JsonEnd with the corrected text of the whole run as JSON string
// content (JsonContent of each piece's corrected text, joined) and the run's word count.
inline constexpr const char* kJsonStart = "{\"tokens\":[";
std::string JsonTokens(const CheckState& state, bool first, const Suggester* suggester = nullptr,
                       const std::vector<Advice>* advice = nullptr);
// Text mode's list of the advice, one line each, UTF-8: "esta (palabra 3): está". `wordsBefore`:
// the words of the pieces before.
std::string AdviceLines(const CheckState& state, const std::vector<Advice>& advice, std::size_t wordsBefore = 0);
std::string JsonEnd(const CheckState& state, std::string_view correctedContent, std::size_t wordCount);
// A UTF-8 text escaped for a JSON string, without the quotes.
std::string JsonContent(std::string_view utf8);

// The text of token `index` (0-based) in the corrected text; `ends` is CorrectedEnds(state).
std::string CorrectedTokenText(const CheckState& state, const std::vector<std::size_t>& ends, std::size_t index);

// A JSON string literal for a UTF-8 text.
std::string JsonString(const std::string& utf8);

}  // namespace velmara::cli
