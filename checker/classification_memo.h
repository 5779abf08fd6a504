#pragma once
// Remembers, for one check run, how each distinct written word was classified, so a word that
// recurs all through a text is classified once. Every occurrence still gets the same result,
// verdict and changes to the check state (counts, character total, missing-word list) as a
// fresh classification would give it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "checker/characters.h"
#include "checker/classify.h"
#include "worddb/text_index.h"

namespace velmara {

// What every occurrence reads comes first.
struct RememberedWord {
  Verdict verdict = Verdict::Accepted;
  std::int32_t corrections = 0;              // what the word adds to CorrectedCount
  bool interrogative = false;                // answers to the open-question flag
  CasePattern pattern = CasePattern::Other;  // of the written word
  std::uint8_t casedKnown = 0;               // which of `cased` are filled
  std::string result;
  // Left to the check run: the result given back a case (MixedCase, UpperCase), made when first
  // needed.
  std::array<std::string, 2> cased;
  std::string lowered;  // what classification was asked
};

class ClassificationMemo {
 public:
  // `tokens`: how many tokens the run has, to size the memory once (distinct words are fewer).
  ClassificationMemo(Classifier& classifier, std::size_t tokens);

  // The word as classified before in this run, when its outcome cannot have changed since:
  // nullptr otherwise. A word found has had its occurrence counted, as ClassifyWord would.
  RememberedWord* Recall(std::string_view written);

  // classifier.ClassifyWord(lowered), remembered under `written` when the outcome cannot change
  // within the run. The text stays valid until the next call.
  const std::string& Classify(std::string_view written, std::string_view lowered);

 private:
  // Counts one more occurrence of a remembered word, as classifying it again would.
  void Replay(const RememberedWord& known);
  void Remember(std::string_view written, RememberedWord word, std::uint64_t loweredHash);
  void Forget();
  auto LoweredOf() const {
    return [this](std::size_t position) -> std::string_view { return words_[position - 1].lowered; };
  }
  auto TextOf() const {
    return [this](std::size_t position) -> std::string_view {
      const Key& key = keys_[position - 1];
      return std::string_view(writtenText_).substr(key.offset, key.length);
    };
  }

  // The written words sit side by side in one text, so the lookup of a word that recurs reads
  // little memory; the rest of what is remembered is read only on a match.
  struct Key {
    std::uint32_t offset;
    std::uint32_t length;
  };

  Classifier& classifier_;
  std::string writtenText_;
  std::vector<Key> keys_;
  std::vector<RememberedWord> words_;  // same positions as keys_
  TextIndex index_;         // by the written word
  TextIndex loweredIndex_;  // by the word classification was asked, the first position of each
  // The Intellisense option when the words were remembered: the options can change while a run
  // on screen processes messages, and what an unknown word comes to depends on it.
  std::int32_t intellisenseOption_;
  std::string fresh_;  // the result of a word that is not remembered
};

}  // namespace velmara
