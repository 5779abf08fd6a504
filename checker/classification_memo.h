#pragma once
// Remembers, for one check run, how each distinct word was classified, so a word that recurs all
// through a text is classified once. Every occurrence still gets the same result, verdict and
// changes to the check state (counts, character total, missing-word list) as a fresh
// classification would give it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "checker/classify.h"
#include "worddb/text_index.h"

namespace velmara {

class ClassificationMemo {
 public:
  explicit ClassificationMemo(Classifier& classifier) : classifier_(classifier) {}

  // As classifier.ClassifyWord(word). The text stays valid until the next call.
  const std::string& ClassifyWord(std::string_view word);

 private:
  struct Outcome {
    std::string word;
    std::string result;
    Verdict verdict;
    std::int32_t corrections;  // what the word adds to CorrectedCount
  };

  void Remember(Outcome outcome, std::uint64_t hash);
  auto TextOf() const {
    return [this](std::size_t position) -> std::string_view { return outcomes_[position - 1].word; };
  }

  Classifier& classifier_;
  std::vector<Outcome> outcomes_;
  TextIndex index_;  // positions in outcomes_
  std::string fresh_;  // the result of a word that is not remembered
};

}  // namespace velmara
