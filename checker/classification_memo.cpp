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
  CheckState& state = classifier_.state();
  // Inside a question an interrogative answers to the open-question flag and clears it.
  if (state.openQuestion && known.interrogative) return nullptr;

  if (classifier_.settings().Dificultad == 1) state.CharacterTotal += static_cast<std::int32_t>(written.size());
  state.CorrectedCount += known.corrections;
  state.lastVerdict = known.verdict;
  if (known.verdict == Verdict::Missing) RecordMissingWord(state, known.lowered);
  return &known;
}

const std::string& ClassificationMemo::Classify(std::string_view written, std::string_view lowered) {
  CheckState& state = classifier_.state();
  const bool interrogative = IsPlainInterrogative(lowered) || IsAccentedInterrogative(lowered);
  const bool questionOpen = state.openQuestion;
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
  Remember(written, std::move(word));
  return fresh_;
}

void ClassificationMemo::Forget() {
  writtenText_.clear();
  keys_.clear();
  words_.clear();
  index_.Reset(0);
}

void ClassificationMemo::Remember(std::string_view written, RememberedWord word) {
  keys_.push_back(Key{static_cast<std::uint32_t>(writtenText_.size()), static_cast<std::uint32_t>(written.size())});
  writtenText_.append(written);
  words_.push_back(std::move(word));
  if (keys_.size() > index_.Capacity()) {
    index_.Reset(keys_.size() * 2);
    for (std::size_t i = 1; i <= keys_.size(); ++i) index_.Insert(HashText(TextOf()(i)), i, TextOf());
  } else {
    index_.Insert(HashText(written), keys_.size(), TextOf());
  }
}

}  // namespace velmara
