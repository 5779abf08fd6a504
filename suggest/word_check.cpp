#include "suggest/word_check.h"

#include <algorithm>
#include <utility>

#include "checker/characters.h"
#include "checker/tokens.h"

namespace velmara {

WordCheck::WordCheck(const WordDatabase& database, const Settings& settings, std::filesystem::path intellisenseFile)
    : settings_(settings), classifier_(database, settings_, std::move(intellisenseFile), state_) {}

bool WordCheck::Accepted(std::string_view written, std::string& correction) {
  correction.clear();
  written = written.substr(0, kMaxTokenLength);
  lowered_.assign(written);
  for (char& c : lowered_) c = static_cast<char>(LowerChar(static_cast<unsigned char>(c)));

  std::string result = classifier_.ClassifyWord(lowered_, WrittenCaseOf(written));
  const Verdict verdict = state_.lastVerdict;
  state_.lastVerdict = Verdict::Accepted;
  // One word says nothing about the next: the counts and the missing words would only grow.
  state_.CorrectedCount = 0;
  state_.MissingCount = 0;
  state_.missingWords.clear();
  if (verdict == Verdict::Missing) return false;
  if (verdict != Verdict::Corrected) return true;
  correction = CasedResult(written, result, false);
  if (correction == written) {  // only a case the editor does not ask about
    correction.clear();
    return true;
  }
  return false;
}

std::vector<std::string> OfferedWords(std::string correction, const std::vector<std::string>& suggestions) {
  std::vector<std::string> offered;
  if (!correction.empty()) offered.push_back(std::move(correction));
  for (const std::string& suggestion : suggestions)
    if (std::find(offered.begin(), offered.end(), suggestion) == offered.end()) offered.push_back(suggestion);
  return offered;
}

std::vector<std::string> OfferedWords(std::string correction, std::string_view written, const Suggester& suggester,
                                      std::size_t limit, Neighbours neighbours) {
  return OfferedWords(std::move(correction), suggester.Suggest(written, limit, neighbours));
}

}  // namespace velmara
