#pragma once
// An index from texts to their positions (from 1) in a sequence the caller keeps: open
// addressing, at most half full. A slot holds the upper half of the text's hash and the
// position, so most probes that miss are settled without reading a text. The caller passes
// `textOf(position)` to read its texts; positions stay valid when the sequence is copied.

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
  }
  std::size_t Capacity() const { return slots_.size() / 2; }

  // Position of the text, or 0.
  template <typename TextOf>
  std::size_t Find(std::string_view text, std::uint64_t hash, TextOf textOf) const {
    if (slots_.empty()) return 0;
    for (std::uint64_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
      const std::uint64_t entry = slots_[slot];
      if (entry == 0) return 0;
      if (Tag(entry) == Tag(hash) && SameText(textOf(entry & kPositionBits), text)) return entry & kPositionBits;
    }
  }

  // Starts reading the slot a Find with this hash reads first.
  void Prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[hash & mask_]);
  }

  // Adds the text at `position` unless an equal text is indexed already: the first position of
  // a text is the one kept. Needs Capacity() above the number of texts indexed.
  template <typename TextOf>
  void Insert(std::uint64_t hash, std::size_t position, TextOf textOf) {
    for (std::uint64_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
      const std::uint64_t entry = slots_[slot];
      if (entry == 0) {
        slots_[slot] = Tag(hash) | position;
        return;
      }
      if (Tag(entry) == Tag(hash) && SameText(textOf(entry & kPositionBits), textOf(position))) return;
    }
  }

 private:
  static constexpr std::uint64_t kPositionBits = 0xFFFFFFFFull;
  static std::uint64_t Tag(std::uint64_t hash) { return hash & ~kPositionBits; }

  std::vector<std::uint64_t> slots_;
  std::uint64_t mask_ = 0;
};

}  // namespace velmara
