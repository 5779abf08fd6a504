#pragma once
// An in-memory word list: lower-case Windows-1252 words in file order, 1-based, duplicates and
// empty words included. FindInList answers like a scan from index 1 (the first equal element, or
// 0) but from an index built once, since every word of a text costs about ten lookups.
//
// A list is either held (built here from its words) or stored: its words and index laid out in
// the compiled word database (compiled_database.h) and read in place from the mapped file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "worddb/stored_hash.h"
#include "worddb/text_hash.h"
#include "worddb/text_index.h"

namespace velmara {

// A list as the compiled database lays it out: the words' texts one after the other with their
// start offsets, an open-addressing index of the first position of each distinct word (slot:
// upper half of StoredHash, position; 0 empty) and a filter like the held list's, all under
// StoredHash.
struct StoredListView {
  std::size_t count = 0;
  const std::uint32_t* offsets = nullptr;  // count + 1 entries, the last is textBytes
  const char* texts = nullptr;
  std::size_t textBytes = 0;
  const std::uint64_t* indexSlots = nullptr;
  std::uint64_t slotMask = 0;
  std::size_t longestProbe = 0;  // no lookup reads more slots than this
  const std::uint64_t* filter = nullptr;
  std::uint64_t filterMask = 0;
};

// A text asked of several lists, each of its hashes made once: a list built here places words by
// HashText, a list read from the compiled database by StoredHash. The keyed one is made only when
// a list built here asks for it (in a program with a compiled database, hardly ever).
class WordQuery {
 public:
  explicit WordQuery(std::string_view text) : text_(text), stored_(StoredHash(text)) {}
  std::string_view Text() const { return text_; }
  std::uint64_t Stored() const { return stored_; }
  std::uint64_t Keyed() const {
    if (!keyedMade_) {
      keyed_ = HashText(text_);
      keyedMade_ = true;
    }
    return keyed_;
  }

 private:
  std::string_view text_;
  std::uint64_t stored_;
  mutable std::uint64_t keyed_ = 0;
  mutable bool keyedMade_ = false;
};

class WordList {
 public:
  WordList() = default;
  explicit WordList(std::vector<std::string> words) { Assign(std::move(words)); }

  WordList(const WordList& other) = default;
  WordList& operator=(const WordList& other) = default;
  WordList(WordList&&) noexcept = default;
  WordList& operator=(WordList&&) noexcept = default;

  // Replaces the content and rebuilds the index; `pump`, when given, is called every few
  // milliseconds meanwhile.
  void Assign(std::vector<std::string> words, const std::function<void()>& pump = {});
  void Clear() { Assign({}); }
  // Reads the list in place from `view`; `owner` keeps the memory it points into alive.
  void UseStored(const StoredListView& view, std::shared_ptr<const void> owner);
  bool Stored() const { return owner_ != nullptr; }

  std::size_t Count() const { return owner_ ? stored_.count : words_.size(); }
  // Element `index`, counted from 1.
  std::string_view At(std::size_t index) const { return owner_ ? StoredAt(index) : std::string_view(words_[index - 1]); }
  // A copy of every element in order.
  std::vector<std::string> Words() const;

  // Index (from 1) of the first element equal to `text` byte for byte, or 0.
  std::size_t Find(std::string_view text) const { return Find(WordQuery(text)); }
  // The same, for a text asked of several lists.
  std::size_t Find(const WordQuery& query) const;
  // Starts reading what a Find of the text reads first, so that the lookups of one word in
  // several lists, or of several words, wait for memory together instead of in turn.
  void Prefetch(const WordQuery& query) const;

 private:
  std::string_view StoredAt(std::size_t index) const {
    // Offsets come from a file: a damaged pair gives an empty word, never a read outside it.
    const std::uint32_t begin = stored_.offsets[index - 1], end = stored_.offsets[index];
    if (begin > end || end > stored_.textBytes) return {};
    return std::string_view(stored_.texts + begin, end - begin);
  }
  std::size_t FindStored(std::string_view text, std::uint64_t hash) const;

  std::vector<std::string> words_;
  TextIndex index_;  // the first index of each distinct word
  // Most lookups ask for a text the list does not hold. A filter of 8 to 16 bits a word (three
  // bits set in one 64-bit word per text) says "certainly not" for nearly all of them from a
  // small table that stays in the caches, instead of a slot in a table of megabytes.
  std::vector<std::uint64_t> filter_;
  std::uint64_t filterMask_ = 0;
  StoredListView stored_;
  std::shared_ptr<const void> owner_;  // set for a stored list
};

// Step `step` (from 0) of a long loop: calls `pump`, when there is one, once in `period` steps.
// The periods are chosen so the calls come a few milliseconds apart, and the loading animation
// goes on.
inline void PumpEvery(const std::function<void()>& pump, std::size_t step, std::size_t period) {
  if (pump && step % period == period - 1) pump();
}

// `count` zeros, filled a few megabytes at a time with `pump` (when given) called between: a table
// of tens of megabytes takes tens of milliseconds to fill.
template <typename Value>
std::vector<Value> ZerosPumping(std::size_t count, const std::function<void()>& pump) {
  constexpr std::size_t kStep = (std::size_t{4} << 20) / sizeof(Value);
  std::vector<Value> values;
  values.reserve(count);
  while (values.size() < count) {
    values.resize(values.size() + std::min(kStep, count - values.size()));
    if (pump) pump();
  }
  return values;
}

// The tables of a StoredListView for the words of `list`, as the compiled database stores them.
// `pump`, when given, is called every few milliseconds.
struct StoredListTables {
  std::vector<std::uint32_t> offsets;
  std::string texts;
  std::vector<std::uint64_t> indexSlots;
  std::size_t longestProbe = 0;
  std::vector<std::uint64_t> filter;
};
StoredListTables BuildStoredTables(const WordList& list, const std::function<void()>& pump = {});

inline std::size_t FindInList(const WordList& list, std::string_view text) { return list.Find(text); }

}  // namespace velmara
