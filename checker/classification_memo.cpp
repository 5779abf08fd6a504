#include "checker/classification_memo.h"

#include <algorithm>

#include "checker/interrogatives.h"
#include "worddb/text_hash.h"

namespace velmara {
namespace {

// Even a whole book holds fewer distinct words than this; past it the memory grows as needed.
constexpr std::size_t kDistinctWordsAtMost = 1 << 16;

}  // namespace

ClassificationMemo::ClassificationMemo(Classifier& classifier, std::size_t tokens)
    : classifier_(classifier), intellisenseOption_(classifier.settings().Inteligente) {
  const std::size_t expected = std::min(tokens, kDistinctWordsAtMost);
  keys_.reserve(expected);
  words_.reserve(expected);
}

RememberedWord* ClassificationMemo::Recall(std::string_view written) {
  if (classifier_.settings().Inteligente != intellisenseOption_) {
    Forget();
    intellisenseOption_ = classifier_.settings().Inteligente;
  }
  std::size_t position = index_.Find(written, HashText(written), TextOf());
  if (position == 0) return nullptr;
  RememberedWord& known = words_[position - 1];
  // Inside a question an interrogative answers to the open-question flag and clears it.
  if (classifier_.state().openQuestion && known.interrogative) return nullptr;
  Replay(known);
  return &known;
}

const std::string& ClassificationMemo::Classify(std::string_view written, std::string_view lowered) {
  CheckState& state = classifier_.state();
  const bool interrogative = IsPlainInterrogative(lowered) || IsAccentedInterrogative(lowered);
  const bool questionOpen = state.openQuestion;

  // The same word written in another case ("El", "el") was classified already.
  const std::uint64_t loweredHash = HashText(lowered);
  if (!(questionOpen && interrogative)) {
    if (std::size_t position = loweredIndex_.Find(lowered, loweredHash, LoweredOf())) {
      RememberedWord word = words_[position - 1];
      word.pattern = CasePatternOf(written);
      word.casedKnown = 0;
      word.cased = {};
      Replay(word);
      Remember(written, std::move(word), loweredHash);
      return words_.back().result;
    }
  }

  const std::int32_t correctedBefore = state.CorrectedCount;
  fresh_ = classifier_.ClassifyWord(lowered);
  const Verdict verdict = state.lastVerdict;

  if (questionOpen && interrogative) return fresh_;
  // With the Intellisense option on, an unknown word was looked up in a file the user may edit
  // at any moment: ask again every time.
  if (classifier_.settings().Inteligente == 1 && (verdict == Verdict::Missing || verdict == Verdict::Corrected))
    return fresh_;
  RememberedWord word;
  word.lowered.assign(lowered);
  word.result = fresh_;
  word.verdict = verdict;
  word.corrections = state.CorrectedCount - correctedBefore;
  word.interrogative = interrogative;
  word.pattern = CasePatternOf(written);
  Remember(written, std::move(word), loweredHash);
  return fresh_;
}

void ClassificationMemo::Replay(const RememberedWord& known) {
  CheckState& state = classifier_.state();
  if (classifier_.settings().Dificultad == 1) state.CharacterTotal += static_cast<std::int32_t>(known.lowered.size());
  state.CorrectedCount += known.corrections;
  state.lastVerdict = known.verdict;
  if (known.verdict == Verdict::Missing) RecordMissingWord(state, known.lowered);
}

void ClassificationMemo::Forget() {
  writtenText_.clear();
  keys_.clear();
  words_.clear();
  index_.Reset(0);
  loweredIndex_.Reset(0);
}

void ClassificationMemo::Remember(std::string_view written, RememberedWord word, std::uint64_t loweredHash) {
  keys_.push_back(Key{static_cast<std::uint32_t>(writtenText_.size()), static_cast<std::uint32_t>(written.size())});
  writtenText_.append(written);
  words_.push_back(std::move(word));
  const std::size_t count = words_.size();
  if (count > index_.Capacity()) {
    index_.Reset(count * 2);
    loweredIndex_.Reset(count * 2);
    for (std::size_t i = 1; i <= count; ++i) {
      index_.Insert(HashText(TextOf()(i)), i, TextOf());
      loweredIndex_.Insert(HashText(LoweredOf()(i)), i, LoweredOf());
    }
  } else {
    index_.Insert(HashText(written), count, TextOf());
    loweredIndex_.Insert(loweredHash, count, LoweredOf());
  }
}

}  // namespace velmara
