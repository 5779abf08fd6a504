#include "checker/classification_memo.h"

#include "checker/interrogatives.h"
#include "worddb/text_hash.h"

namespace velmara {

const std::string& ClassificationMemo::ClassifyWord(std::string_view word) {
  CheckState& state = classifier_.state();
  const Settings& settings = classifier_.settings();

  // Inside a question an interrogative answers to the open-question flag and clears it.
  if (state.openQuestion && (IsPlainInterrogative(word) || IsAccentedInterrogative(word))) {
    fresh_ = classifier_.ClassifyWord(word);
    return fresh_;
  }

  const std::uint64_t hash = HashText(word);
  if (std::size_t position = index_.Find(word, hash, TextOf())) {
    const Outcome* known = &outcomes_[position - 1];
    if (settings.Dificultad == 1) state.CharacterTotal += static_cast<std::int32_t>(word.size());
    state.CorrectedCount += known->corrections;
    state.lastVerdict = known->verdict;
    if (known->verdict == Verdict::Missing) RecordMissingWord(state, word);
    return known->result;
  }

  const std::int32_t correctedBefore = state.CorrectedCount;
  std::string result = classifier_.ClassifyWord(word);
  const Verdict verdict = state.lastVerdict;
  // With the Intellisense option on, an unknown word was looked up in a file the user may edit
  // at any moment: ask again every time.
  if (settings.Inteligente == 1 && (verdict == Verdict::Missing || verdict == Verdict::Corrected)) {
    fresh_ = std::move(result);
    return fresh_;
  }
  Remember(Outcome{std::string(word), std::move(result), verdict, state.CorrectedCount - correctedBefore}, hash);
  return outcomes_.back().result;
}

void ClassificationMemo::Remember(Outcome outcome, std::uint64_t hash) {
  outcomes_.push_back(std::move(outcome));
  if (outcomes_.size() > index_.Capacity()) {
    index_.Reset(outcomes_.size() * 2);
    for (std::size_t i = 0; i < outcomes_.size(); ++i) index_.Insert(HashText(outcomes_[i].word), i + 1, TextOf());
  } else {
    index_.Insert(hash, outcomes_.size(), TextOf());
  }
}

}  // namespace velmara
