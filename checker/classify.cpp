#include "checker/classify.h"

#include <algorithm>

#include "checker/accents.h"
#include "checker/enclitic.h"
#include "checker/interrogatives.h"
#include "suggest/intellisense.h"

namespace velmara {
namespace {

// The stem of a verb form with pronouns is looked up by its first 259 characters.
constexpr std::size_t kStemLookupLength = 259;

bool AllCharactersIn(std::string_view word, std::string_view set) {
  return std::all_of(word.begin(), word.end(), [set](char c) { return set.find(c) != std::string_view::npos; });
}

}  // namespace

Classifier::Classifier(const WordDatabase& database, const Settings& settings, std::filesystem::path intellisenseFile,
                       CheckState& state)
    : database_(database), settings_(settings), intellisenseFile_(std::move(intellisenseFile)), state_(state) {}

std::string Classifier::ClassifyWord(std::string_view word) {
  CheckState& state = state_;
  if (settings_.Dificultad == 1) state.CharacterTotal += static_cast<std::int32_t>(word.size());

  auto decide = [&state, word](Verdict verdict) {
    state.lastVerdict = verdict;
    return std::string(word);
  };

  // Roman numerals are taken on trust: any word made only of these letters (the empty word too).
  if (AllCharactersIn(word, "ivxlcdm")) return decide(Verdict::Accepted);

  if (state.openQuestion && IsAccentedInterrogative(word)) {
    state.openQuestion = false;
    return decide(Verdict::Accepted);
  }
  if (state.openQuestion && IsPlainInterrogative(word)) {
    state.openQuestion = false;
    state.CorrectedCount += 1;
    state.lastVerdict = Verdict::Corrected;
    return AccentInterrogative(word);
  }

  if (word.back() == 's' && IsPluralOfDictionaryWord(database_.dictionary, word)) return decide(Verdict::Accepted);

  const bool inDictionary = FindInList(database_.dictionary, word) > 0;
  const bool inVerbs = FindInList(database_.verbs, word) > 0;
  if (!inDictionary && !inVerbs && FindInList(database_.falsePositives.entries, word) > 0)
    return decide(Verdict::FalsePositive);
  if (FindInList(database_.properNames, word) > 0) return decide(Verdict::Accepted);
  if (inVerbs && !inDictionary) return decide(Verdict::VerbForm);
  if (!inDictionary) {
    std::string stem = EncliticStem(word);
    if (stem.size() > kStemLookupLength) stem.resize(kStemLookupLength);
    if (FindInList(database_.verbs, stem) > 0) return decide(Verdict::DoubtfulVerbForm);
  }
  if (inDictionary || inVerbs) return decide(Verdict::Accepted);
  if (AllCharactersIn(word, "1234567890")) return decide(Verdict::Accepted);
  return ResolveUnknownWord(word);
}

std::string Classifier::ResolveUnknownWord(std::string_view word) {
  CheckState& state = state_;
  std::string replacement;
  bool found = false;

  // Every accented position that the Dictionary knows counts as a correction; the last one wins.
  for (std::size_t position = 1; position <= word.size(); ++position) {
    std::string variant = AccentAt(word, position);
    if (FindInList(database_.dictionary, variant) > 0) {
      replacement = std::move(variant);
      found = true;
      state.CorrectedCount += 1;
      state.lastVerdict = Verdict::Corrected;
    }
  }

  // The user's own substitution wins over an accent correction.
  if (settings_.Inteligente == 1 && IntellisenseHasKey(intellisenseFile_, word)) {
    replacement = IntellisenseSecondField(IntellisenseFindLine(intellisenseFile_, word));
    found = true;
    state.CorrectedCount += 1;
    state.lastVerdict = Verdict::Corrected;
  }

  if (found) return replacement;

  state.lastVerdict = Verdict::Missing;
  state.MissingCount += 1;
  if (state.missingWords.size() < kMissingWordCapacity)
    state.missingWords.emplace_back(word.substr(0, kMissingWordLength));
  return std::string(word);
}

}  // namespace velmara
