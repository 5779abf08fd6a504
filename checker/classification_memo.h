#pragma once
// Remembers, for one check run, how each distinct written word was classified, so a word that
// recurs all through a text is classified once. Every occurrence still gets the same result,
// verdict and changes to the check state (counts, character total, missing-word list) as a
// fresh classification would give it.

#include <algorithm>
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
  // Given its own case back (CasedResult), the result is the written word itself: an occurrence
  // outside a sentence start is its own text.
  bool writtenStands = false;
  std::string result;
  // Left to the check run: the result in the word's case outside (0) and at (1) a sentence start,
  // made when first needed.
  std::array<std::string, 2> cased;
  std::string lowered;  // what classification was asked
};

// A word recalled for one occurrence: what the check run reads first. `word` is not read by the
// recall of a short word unless it must be, so a plain occurrence costs one probe.
struct Recollection {
  RememberedWord* word = nullptr;  // nullptr: not remembered, classify this occurrence
  CasePattern pattern = CasePattern::Other;
  bool writtenStands = false;  // as RememberedWord::writtenStands
};

class ClassificationMemo {
 public:
  // `tokens`: how many tokens the run has, to size the memory once (distinct words are fewer).
  ClassificationMemo(Classifier& classifier, std::size_t tokens);

  // The word as classified before in this run, when its outcome cannot have changed since; an
  // empty recollection otherwise. A word found has had its occurrence counted, as ClassifyWord
  // would.
  Recollection Recall(const TokenText& written);

  // classifier.ClassifyWord(lowered), remembered under `written` when the outcome cannot change
  // within the run. The text stays valid until the next call.
  const std::string& Classify(std::string_view written, std::string_view lowered);

  // The hash the table of short words (up to sixteen bytes) places a word by.
  static std::uint64_t ShortWordHash(std::string_view word);

  // A text of more distinct words than this starts the memory afresh, so it stays bounded
  // whatever the input.
  static constexpr std::size_t kRememberedMost = std::size_t{1} << 16;
  // How many written words are remembered now.
  std::size_t Remembered() const { return words_.size(); }

  // The health of the tables: the most slots one insertion read since the table was last built.
  std::size_t LongestProbe() const {
    return std::max({longestShortProbe_, index_.LongestProbe(), loweredIndex_.LongestProbe()});
  }

 private:
  // What a short word's slot keeps of it, beside the word.
  struct Summary {
    std::uint8_t verdict = 0;  // Verdict
    std::uint8_t pattern = 0;  // CasePattern
    std::uint8_t flags = 0;
  };
  static constexpr std::uint8_t kInterrogative = 1;
  static constexpr std::uint8_t kCorrects = 2;  // adds to CorrectedCount
  static constexpr std::uint8_t kWrittenStands = 4;
  static Summary SummaryOf(const RememberedWord& word);

  // Counts one more occurrence of a remembered word, as classifying it again would. `length`:
  // of the written word, which is that of the word classification was asked.
  void Replay(const Summary& summary, std::size_t position, std::size_t length);
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

  // Words of up to sixteen bytes, nearly all of a text, are found in one probe: the slot holds
  // the word itself and its summary, so a plain occurrence reads no other memory.
  struct PackedWord {
    std::uint64_t low = 0;  // bytes 0 to 7, first byte lowest
    std::uint64_t high = 0;  // bytes 8 to 15
    bool operator==(const PackedWord&) const = default;
  };
  struct ShortSlot {
    PackedWord text;
    std::uint8_t length = 0;  // 0: empty slot
    Summary summary;
    std::uint32_t position = 0;
  };
  static constexpr std::size_t kShortWordMost = 16;
  static PackedWord PackedText(std::string_view word);
  // The same for a word of up to kShortWordMost bytes whose sixteen bytes can be read
  // (SixteenReadable), read eight bytes at a time.
  static PackedWord PackedSixteen(std::string_view word);
  const ShortSlot* FindShort(const PackedWord& text, std::size_t length) const;
  std::size_t InsertShort(std::string_view word, std::size_t position);
  // Empties the short table to `slots` slots and inserts every short word again, taking other
  // bits of the hash while a run of slots grows long.
  void RebuildShort(std::size_t slots);

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
  TextIndex index_;                    // by the written word, when longer than kShortWordMost
  std::vector<ShortSlot> shortSlots_;  // by the written word of up to kShortWordMost bytes
  std::size_t shortCount_ = 0;
  unsigned shortRotation_ = 0;  // a short word's slot is its hash turned right by this many bits
  std::size_t longestShortProbe_ = 0;
  std::size_t longCount_ = 0;       // words longer than kShortWordMost
  std::size_t expectedWords_ = 8;  // what the tables are sized for when emptied
  TextIndex loweredIndex_;  // by the word classification was asked, the first position of each
  // The Intellisense option when the words were remembered: the options can change while a run
  // on screen processes messages, and what an unknown word comes to depends on it.
  std::int32_t intellisenseOption_;
  std::string fresh_;  // the result of a word that is not remembered
};

}  // namespace velmara
