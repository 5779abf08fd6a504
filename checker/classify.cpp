#include "checker/classify.h"

#include <algorithm>
#include <optional>

#include "checker/accents.h"
#include "checker/characters.h"
#include "checker/enclitic.h"
#include "checker/interrogatives.h"
#include "suggest/intellisense.h"

namespace velmara {
namespace {

// The stem of a verb form with pronouns is looked up by its first 259 characters.
constexpr std::size_t kStemLookupLength = 259;

bool AllCharactersIn(std::string_view word, std::string_view set) {
  // A loop over the few characters of the set: no library call per character.
  return std::all_of(word.begin(), word.end(), [set](char c) {
    for (char member : set)
      if (member == c) return true;
    return false;
  });
}

}  // namespace

WrittenCase WrittenCaseOf(std::string_view written) {
  bool capitalInside = false, small = false;
  for (std::size_t i = 0; i < written.size(); ++i) {
    const auto c = static_cast<unsigned char>(written[i]);
    capitalInside = capitalInside || (i > 0 && LowerChar(c) != c);
    small = small || UpperChar(c) != c;
  }
  if (capitalInside && small) return WrittenCase::Mixed;
  if (written.empty()) return WrittenCase::Lower;
  const auto first = static_cast<unsigned char>(written[0]);
  return LowerChar(first) != first ? WrittenCase::Name : WrittenCase::Lower;
}

void RecordMissingWord(CheckState& state, std::string_view word) {
  state.MissingCount += 1;
  if (state.missingWords.size() < kMissingWordCapacity)
    state.missingWords.emplace_back(word.substr(0, kMissingWordLength));
}

Classifier::Classifier(const WordDatabase& database, const Settings& settings, std::filesystem::path intellisenseFile,
                       CheckState& state)
    : database_(database), settings_(settings), intellisense_(std::move(intellisenseFile)), state_(state) {}

Classifier::Classifier(const WordDatabase& database, const Settings& settings, IntellisenseList intellisense,
                       CheckState& state)
    : database_(database), settings_(settings), intellisense_(std::move(intellisense)), state_(state) {}

std::string Classifier::ClassifyWord(std::string_view word, WrittenCase written) {
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

  // The word is looked up in every list: the reads start together, before the plural rules.
  const WordQuery query(word);
  database_.dictionary.Prefetch(query);
  database_.verbs.Prefetch(query);
  database_.properNames.Prefetch(query);
  database_.falsePositives.entries.Prefetch(query);

  if (word.back() == 's' && IsPluralOfDictionaryWord(database_.dictionary, word)) return decide(Verdict::Accepted);

  const bool inDictionary = database_.dictionary.Find(query) > 0;
  const bool inVerbs = database_.verbs.Find(query) > 0;
  if (!inDictionary && !inVerbs &&
      (database_.falsePositives.entries.Find(query) > 0 || database_.userWords.Find(query) > 0))
    return decide(Verdict::FalsePositive);
  if (written != WrittenCase::Lower && database_.properNames.Find(query) > 0) return decide(Verdict::Accepted);
  if (inVerbs && !inDictionary) return decide(Verdict::VerbForm);
  if (!inDictionary) {
    std::string stem = EncliticStem(word);
    if (stem.size() > kStemLookupLength) stem.resize(kStemLookupLength);
    if (FindInList(database_.verbs, stem) > 0) {
      // The accent rules decide a verb form with pronouns: written against them, it is corrected
      // to the form they give, unless a voseo reading makes it right.
      std::string accented = WithPronounsAccented(word, stem);
      if (accented != word && !ReadsAsVoseo(word, stem, database_.verbs)) {
        state.CorrectedCount += 1;
        state.lastVerdict = Verdict::Corrected;
        return accented;
      }
      return decide(Verdict::DoubtfulVerbForm);
    }
  }
  if (inDictionary || inVerbs) return decide(Verdict::Accepted);
  if (AllCharactersIn(word, "1234567890")) return decide(Verdict::Accepted);
  if (written != WrittenCase::Mixed) return ResolveUnknownWord(word);
  std::string replacement;
  if (CorrectUnknownWord(word, replacement)) return replacement;
  return decide(Verdict::Accepted);
}

std::string Classifier::ResolveUnknownWord(std::string_view word) {
  std::string replacement;
  if (CorrectUnknownWord(word, replacement)) return replacement;
  state_.lastVerdict = Verdict::Missing;
  RecordMissingWord(state_, word);
  return std::string(word);
}

bool Classifier::CorrectUnknownWord(std::string_view word, std::string& replacement) {
  CheckState& state = state_;
  replacement.clear();
  bool found = false;

  // Every accented position that the Dictionary knows counts as a correction; the last one wins.
  // A position that takes no accent gives the word itself back, looked up once for them all. The
  // variants are made in one buffer, and the reads of their lookups started before the first.
  std::vector<AccentVariant>& variants = accentVariants_;
  variants.clear();
  variantBuffer_.assign(word);
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char accented = AccentedCharacter(word[i]);
    if (accented == word[i]) continue;
    variantBuffer_[i] = accented;
    const WordQuery variant(variantBuffer_);
    database_.dictionary.Prefetch(variant);
    variants.push_back(AccentVariant{variant, i + 1, accented});
    variantBuffer_[i] = word[i];
  }
  std::optional<bool> wordKnown;
  auto next = variants.begin();
  for (std::size_t position = 1; position <= word.size(); ++position) {
    bool known;
    if (next != variants.end() && next->position == position) {
      variantBuffer_[position - 1] = next->accented;
      known = database_.dictionary.Find(next->query) > 0;
      if (known) replacement = variantBuffer_;
      variantBuffer_[position - 1] = word[position - 1];
      ++next;
    } else {
      if (!wordKnown) wordKnown = database_.dictionary.Find(word) > 0;
      known = *wordKnown;
      if (known) replacement.assign(word);
    }
    if (known) {
      found = true;
      state.CorrectedCount += 1;
      state.lastVerdict = Verdict::Corrected;
    }
  }

  // The user's own substitution wins over an accent correction.
  const std::string* line = settings_.Inteligente == 1 ? intellisense_.FindLine(word) : nullptr;
  if (line != nullptr) {
    replacement = IntellisenseSecondField(*line);
    found = true;
    state.CorrectedCount += 1;
    state.lastVerdict = Verdict::Corrected;
  }

  return found;
}

}  // namespace velmara
