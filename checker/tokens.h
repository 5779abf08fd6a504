#pragma once
// Tokens and verdicts shared by the tokeniser, the check run, the marking and the export.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmara {

// The verdict a word gets from classification. The numbers are stored and compared as they are.
enum class Verdict : std::int32_t {
  Accepted = 0,
  Missing = 1,
  Corrected = 2,
  VerbForm = 3,
  FalsePositive = 4,
  DoubtfulVerbForm = 5,
};

// "Accepted", "Missing", ... as the terminal program prints them.
std::string_view VerdictName(Verdict verdict);

// One token: a word (a run of word characters) or one separator character. Windows-1252 text.
struct TokenEntry {
  std::string text;
  Verdict verdict = Verdict::Accepted;
};

// Token lists grow with the text: a long text is never cut. Index 0 holds token 1.
using TokenList = std::vector<TokenEntry>;

// A token text longer than this is stored cut to its first 255 characters.
inline constexpr std::size_t kMaxTokenLength = 255;

}  // namespace velmara
