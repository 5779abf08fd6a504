#pragma once
// An in-memory word list: lower-case Windows-1252 words in file order, 1-based, duplicates and
// empty words included. FindInList answers like a scan from index 1 (the first equal element, or
// 0) but from an index built once, since every word of a text costs about ten lookups.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "worddb/text_hash.h"
#include "worddb/text_index.h"

namespace velmara {

class WordList {
 public:
  WordList() = default;
  explicit WordList(std::vector<std::string> words) { Assign(std::move(words)); }

  WordList(const WordList& other) = default;
  WordList& operator=(const WordList& other) = default;
  WordList(WordList&&) noexcept = default;
  WordList& operator=(WordList&&) noexcept = default;

  // Replaces the content and rebuilds the index.
  void Assign(std::vector<std::string> words);
  void Clear() { Assign({}); }

  std::size_t Count() const { return words_.size(); }
  // Element `index`, counted from 1.
  const std::string& At(std::size_t index) const { return words_[index - 1]; }
  const std::vector<std::string>& Words() const { return words_; }

  // Index (from 1) of the first element equal to `text` byte for byte, or 0.
  std::size_t Find(std::string_view text) const { return Find(text, HashText(text)); }
  // The same, for a text whose HashText is known.
  std::size_t Find(std::string_view text, std::uint64_t hash) const;
  // Starts reading what a Find of a text with this hash reads first, so that the lookups of one
  // word in several lists, or of several words, wait for memory together instead of in turn.
  void Prefetch(std::uint64_t hash) const;

 private:
  std::vector<std::string> words_;
  TextIndex index_;  // the first index of each distinct word
  // Most lookups ask for a text the list does not hold. A filter of 8 to 16 bits a word (three
  // bits set in one 64-bit word per text) says "certainly not" for nearly all of them from a
  // small table that stays in the caches, instead of a slot in a table of megabytes.
  std::vector<std::uint64_t> filter_;
  std::uint64_t filterMask_ = 0;
};

inline std::size_t FindInList(const WordList& list, std::string_view text) { return list.Find(text); }

}  // namespace velmara
