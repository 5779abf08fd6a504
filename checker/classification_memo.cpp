#include "checker/classification_memo.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "checker/interrogatives.h"
#include "worddb/text_hash.h"

namespace velmara {
namespace {

// Even a whole book holds fewer distinct words than this; past it the memory is emptied and
// filled again, so it stays within a few tens of megabytes.
constexpr std::size_t kDistinctWordsAtMost = ClassificationMemo::kRememberedMost;
constexpr std::size_t kWrittenBytesAtMost = std::size_t{4} << 20;
// Tables sized for more words would be read sparsely, each word on a cache line of its own.
constexpr std::size_t kExpectedWordsAtMost = 1 << 14;

// Keyed as HashText is, so which words share a value cannot be worked out without the key.
template <typename Packed>
std::uint64_t ShortHash(const Packed& text, std::size_t length) {
  return HashPackedText(text.low, text.high, length);
}

// Evenly spread words at most half full seldom need a few dozen probes; far more means the words
// were chosen to collide, and the table takes its slots from other bits of the hash.
std::size_t ProbeBound(std::size_t slots) { return 32 + 2 * static_cast<std::size_t>(std::bit_width(slots)); }
constexpr unsigned kRotationStep = 21;
constexpr unsigned kLastRotation = 3 * kRotationStep;

// The result as the check run gives it back outside a sentence start.
bool WrittenStands(std::string_view written, const std::string& result) {
  return CasedResult(written, result, false) == written;
}

}  // namespace

ClassificationMemo::ClassificationMemo(Classifier& classifier, std::size_t tokens)
    : classifier_(classifier), intellisenseOption_(classifier.settings().Inteligente) {
  const std::size_t expected = std::min(tokens, kDistinctWordsAtMost);
  keys_.reserve(expected);
  words_.reserve(expected);
  // Sized at the start for the words a text of this length usually holds, so that the tables
  // are seldom rebuilt as they fill.
  expectedWords_ = std::clamp<std::size_t>(tokens / 32, 8, kExpectedWordsAtMost);
  Forget();
}

// Inline: every recalled occurrence goes through it.
inline void ClassificationMemo::Replay(const Summary& summary, std::size_t position, std::size_t length) {
  CheckState& state = classifier_.state();
  if (classifier_.settings().Dificultad == 1) state.CharacterTotal += static_cast<std::int32_t>(length);
  if ((summary.flags & kCorrects) != 0) state.CorrectedCount += words_[position - 1].corrections;
  const auto verdict = static_cast<Verdict>(summary.verdict);
  state.lastVerdict = verdict;
  if (verdict == Verdict::Missing) {
    // Once the list is full only the count grows, and the word itself need not be read.
    if (state.missingWords.size() < kMissingWordCapacity) {
      RecordMissingWord(state, words_[position - 1].lowered);
    } else {
      state.MissingCount += 1;
    }
  }
}

Recollection ClassificationMemo::Recall(const TokenText& written) {
  if (classifier_.settings().Inteligente != intellisenseOption_) {
    Forget();
    intellisenseOption_ = classifier_.settings().Inteligente;
  }
  Summary longSummary;
  const Summary* found = &longSummary;
  std::size_t position = 0;
  if (written.size() <= kShortWordMost) {
    const ShortSlot* slot = FindShort(PackedSixteen(written), written.size());
    if (slot == nullptr) return {};
    found = &slot->summary;
    position = slot->position;
  } else {
    position = index_.Find(written, HashText(written), TextOf());
    if (position == 0) return {};
    longSummary = SummaryOf(words_[position - 1]);
  }
  const Summary& summary = *found;
  // Inside a question an interrogative answers to the open-question flag and clears it.
  if (classifier_.state().openQuestion && (summary.flags & kInterrogative) != 0) return {};
  Replay(summary, position, written.size());
  return Recollection{&words_[position - 1], static_cast<CasePattern>(summary.pattern),
                      (summary.flags & kWrittenStands) != 0};
}

const std::string& ClassificationMemo::Classify(std::string_view written, std::string_view lowered) {
  CheckState& state = classifier_.state();
  const bool interrogative = IsPlainInterrogative(lowered) || IsAccentedInterrogative(lowered);
  const bool questionOpen = state.openQuestion;

  // The same word written in another case ("El", "el") was classified already.
  const std::uint64_t loweredHash = HashText(lowered);
  if (!(questionOpen && interrogative)) {
    // Not across a leading capital, which a proper name needs.
    const std::size_t position = loweredIndex_.Find(lowered, loweredHash, LoweredOf());
    if (position != 0 && WrittenCaseOf(TextOf()(position)) == WrittenCaseOf(written)) {
      RememberedWord word = words_[position - 1];
      word.pattern = CasePatternOf(written);
      word.casedKnown = 0;
      word.cased = {};
      Remember(written, std::move(word), loweredHash);
      Replay(SummaryOf(words_.back()), words_.size(), written.size());
      return words_.back().result;
    }
  }

  const std::int32_t correctedBefore = state.CorrectedCount;
  fresh_ = classifier_.ClassifyWord(lowered, WrittenCaseOf(written));
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

ClassificationMemo::Summary ClassificationMemo::SummaryOf(const RememberedWord& word) {
  Summary summary;
  summary.verdict = static_cast<std::uint8_t>(word.verdict);
  summary.pattern = static_cast<std::uint8_t>(word.pattern);
  if (word.interrogative) summary.flags |= kInterrogative;
  if (word.corrections != 0) summary.flags |= kCorrects;
  if (word.writtenStands) summary.flags |= kWrittenStands;
  return summary;
}

std::uint64_t ClassificationMemo::ShortWordHash(std::string_view word) {
  return ShortHash(PackedText(word), word.size());
}

ClassificationMemo::PackedWord ClassificationMemo::PackedText(std::string_view word) {
  PackedWord text;
  for (std::size_t i = 0; i < word.size() && i < 8; ++i)
    text.low |= std::uint64_t{static_cast<unsigned char>(word[i])} << (8 * i);
  for (std::size_t i = 8; i < word.size(); ++i)
    text.high |= std::uint64_t{static_cast<unsigned char>(word[i])} << (8 * (i - 8));
  return text;
}

ClassificationMemo::PackedWord ClassificationMemo::PackedSixteen(std::string_view word) {
  // The bytes read past the word are masked off.
  if constexpr (std::endian::native != std::endian::little) return PackedText(word);
  const std::size_t length = word.size();
  std::uint64_t low, high;
  std::memcpy(&low, word.data(), 8);
  std::memcpy(&high, word.data() + 8, 8);
  auto mask = [](std::size_t bytes) {
    return bytes >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * bytes)) - 1;
  };
  PackedWord text;
  text.low = low & mask(length);
  text.high = length > 8 ? high & mask(length - 8) : 0;
  return text;
}

const ClassificationMemo::ShortSlot* ClassificationMemo::FindShort(const PackedWord& text, std::size_t length) const {
  const std::size_t mask = shortSlots_.size() - 1;
  for (std::size_t slot = std::rotr(ShortHash(text, length), static_cast<int>(shortRotation_)) & mask;;
       slot = (slot + 1) & mask) {
    const ShortSlot& entry = shortSlots_[slot];
    if (entry.length == 0) return nullptr;
    if (entry.text == text && entry.length == length) return &entry;
  }
}

// Keeps the first position of a word, as the index of longer words does. Returns how many slots
// it read.
std::size_t ClassificationMemo::InsertShort(std::string_view word, std::size_t position) {
  const PackedWord text = PackedText(word);
  const std::size_t mask = shortSlots_.size() - 1;
  std::size_t probes = 1;
  for (std::size_t slot = std::rotr(ShortHash(text, word.size()), static_cast<int>(shortRotation_)) & mask;;
       slot = (slot + 1) & mask, ++probes) {
    ShortSlot& entry = shortSlots_[slot];
    if (entry.length == 0) {
      entry.text = text;
      entry.length = static_cast<std::uint8_t>(word.size());
      entry.summary = SummaryOf(words_[position - 1]);
      entry.position = static_cast<std::uint32_t>(position);
      ++shortCount_;
      break;
    }
    if (entry.text == text && entry.length == word.size()) break;
  }
  longestShortProbe_ = std::max(longestShortProbe_, probes);
  return probes;
}

void ClassificationMemo::RebuildShort(std::size_t slots) {
  const std::size_t count = words_.size();
  for (;;) {
    shortSlots_.assign(slots, ShortSlot{});
    shortCount_ = 0;
    longestShortProbe_ = 0;
    bool even = true;
    for (std::size_t i = 1; i <= count; ++i)
      if (keys_[i - 1].length <= kShortWordMost && InsertShort(TextOf()(i), i) > ProbeBound(slots)) even = false;
    if (even || shortRotation_ >= kLastRotation) return;
    shortRotation_ += kRotationStep;
  }
}

void ClassificationMemo::Forget() {
  writtenText_.clear();
  keys_.clear();
  words_.clear();
  index_.Reset(0);
  loweredIndex_.Reset(expectedWords_);
  shortSlots_.assign(std::bit_ceil(expectedWords_ * 2), ShortSlot{});
  shortCount_ = 0;
  shortRotation_ = 0;
  longestShortProbe_ = 0;
  longCount_ = 0;
}

void ClassificationMemo::Remember(std::string_view written, RememberedWord word, std::uint64_t loweredHash) {
  // A text of more distinct words than a book holds starts its memory afresh: a word met again
  // after that is classified once more, and the memory stays bounded whatever the input.
  if (words_.size() >= kDistinctWordsAtMost || writtenText_.size() + written.size() > kWrittenBytesAtMost) Forget();
  word.writtenStands = WrittenStands(written, word.result);
  keys_.push_back(Key{static_cast<std::uint32_t>(writtenText_.size()), static_cast<std::uint32_t>(written.size())});
  writtenText_.append(written);
  words_.push_back(std::move(word));
  const std::size_t count = words_.size();

  if (written.size() <= kShortWordMost) {
    // At most half full, so a probe that misses ends soon; and no run of slots long.
    if ((shortCount_ + 1) * 2 > shortSlots_.size()) {
      shortRotation_ = 0;
      RebuildShort(shortSlots_.size() * 2);
    } else if (InsertShort(written, count) > ProbeBound(shortSlots_.size()) && shortRotation_ < kLastRotation) {
      shortRotation_ += kRotationStep;
      RebuildShort(shortSlots_.size());
    }
  }

  if (written.size() > kShortWordMost) {
    if (++longCount_ > index_.Capacity()) {
      index_.Reset(longCount_ * 2);
      for (std::size_t i = 1; i <= count; ++i)
        if (keys_[i - 1].length > kShortWordMost) index_.Insert(HashText(TextOf()(i)), i, TextOf());
    } else {
      index_.Insert(HashText(written), count, TextOf());
    }
  }

  if (count > loweredIndex_.Capacity()) {
    loweredIndex_.Reset(count * 2);
    for (std::size_t i = 1; i <= count; ++i) loweredIndex_.Insert(HashText(LoweredOf()(i)), i, LoweredOf());
  } else {
    loweredIndex_.Insert(loweredHash, count, LoweredOf());
  }
}

}  // namespace velmara
