#pragma once
// An index from texts to their positions (from 1) in a sequence the caller keeps: open
// addressing, at most half full. A slot holds the upper half of the text's hash and the
// position, so most probes that miss are settled without reading a text. The caller passes
// `textOf(position)` to read its texts; positions stay valid when the sequence is copied.
//
// The hash given for a text is always HashText(text). The keyed hash spreads any words evenly;
// should a run of occupied slots still grow long (words chosen by someone who knows the key),
// the index takes its slots from other bits of the hash and is rebuilt, so no insertion or
// lookup ever walks a long run.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "worddb/large_pages.h"
#include "worddb/text_hash.h"

namespace velmara {

class TextIndex {
 public:
  // Empties the index and sizes it for `count` texts.
  void Reset(std::size_t count) {
    const std::size_t size = std::bit_ceil(count * 2 + 2);
    if (size > slots_.capacity()) {
      std::vector<std::uint64_t> fresh;
      ReserveInLargePages(fresh, size);
      slots_.swap(fresh);
    }
    slots_.assign(size, 0);
    mask_ = slots_.size() - 1;
    rotation_ = 0;
    longestProbe_ = 0;
    // Evenly spread texts at most half full seldom need a few dozen probes even in a table of
    // millions of slots; far more means the texts were chosen to collide.
    probeBound_ = 32 + 2 * static_cast<std::size_t>(std::bit_width(size));
  }
  std::size_t Capacity() const { return slots_.size() / 2; }

  // Position of the text, or 0.
  template <typename TextOf>
  std::size_t Find(std::string_view text, std::uint64_t hash, TextOf textOf) const {
    if (slots_.empty()) return 0;
    for (std::uint64_t slot = SlotOf(hash);; slot = (slot + 1) & mask_) {
      const std::uint64_t entry = slots_[slot];
      if (entry == 0) return 0;
      if (Tag(entry) == Tag(hash) && SameText(textOf(entry & kPositionBits), text)) return entry & kPositionBits;
    }
  }

  // Starts reading the slot a Find with this hash reads first.
  void Prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[SlotOf(hash)]);
  }

  // Adds the text at `position` unless an equal text is indexed already: the first position of
  // a text is the one kept. Needs Capacity() above the number of texts indexed.
  template <typename TextOf>
  void Insert(std::uint64_t hash, std::size_t position, TextOf textOf) {
    if (Place(hash, position, textOf) > probeBound_) Respread(textOf);
  }

  // The most slots one insertion has read since the index was last emptied or rebuilt.
  std::size_t LongestProbe() const { return longestProbe_; }
  // How many times the index took its slots from other bits of the hash.
  std::size_t Respreads() const { return rotation_ / kRotationStep; }

 private:
  static constexpr std::uint64_t kPositionBits = 0xFFFFFFFFull;
  static constexpr unsigned kRotationStep = 21;
  static constexpr unsigned kLastRotation = 3 * kRotationStep;
  static std::uint64_t Tag(std::uint64_t hash) { return hash & ~kPositionBits; }
  std::uint64_t SlotOf(std::uint64_t hash) const { return std::rotr(hash, static_cast<int>(rotation_)) & mask_; }

  // Inserts and returns how many slots it read.
  template <typename TextOf>
  std::size_t Place(std::uint64_t hash, std::size_t position, TextOf textOf) {
    std::size_t probes = 1;
    for (std::uint64_t slot = SlotOf(hash);; slot = (slot + 1) & mask_, ++probes) {
      const std::uint64_t entry = slots_[slot];
      if (entry == 0) {
        slots_[slot] = Tag(hash) | position;
        break;
      }
      if (Tag(entry) == Tag(hash) && SameText(textOf(entry & kPositionBits), textOf(position))) break;
    }
    if (probes > longestProbe_) longestProbe_ = probes;
    return probes;
  }

  // Rebuilds the index with its slots taken from other bits of each hash, until no run is long
  // (after the last choice of bits it stays as it is: a few colliding texts are no flood).
  template <typename TextOf>
  void Respread(TextOf textOf) {
    std::vector<std::uint32_t> positions;
    for (std::uint64_t entry : slots_)
      if (entry != 0) positions.push_back(static_cast<std::uint32_t>(entry & kPositionBits));
    while (rotation_ < kLastRotation) {
      rotation_ += kRotationStep;
      std::fill(slots_.begin(), slots_.end(), 0);
      longestProbe_ = 0;
      bool even = true;
      for (std::uint32_t position : positions)
        if (Place(HashText(textOf(position)), position, textOf) > probeBound_) even = false;
      if (even) return;
    }
  }

  std::vector<std::uint64_t> slots_;
  std::uint64_t mask_ = 0;
  unsigned rotation_ = 0;  // the slot is the hash turned right by this many bits
  std::size_t longestProbe_ = 0;
  std::size_t probeBound_ = 0;
};

}  // namespace velmara
